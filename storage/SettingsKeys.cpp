#include "storage/SettingsKeys.h"

#include "platform/text/Ascii.h"
#include "storage/ProfileFile.h"

namespace settings {

IntegerSetting WindowLeft(int fallback)
{
    return {"EXE", "XPos", fallback};
}

TextSetting TabHeading(int index)
{
    return {"TABS", "Tab" + std::to_string(index), "Group" + std::to_string(index + 1)};
}

TextSetting MainFile(int slot)
{
    return {"EXE", "EXE" + std::to_string(slot), ""};
}

IntegerSetting ParamFlag(int slot)
{
    return {"EXE", "Param" + std::to_string(slot), 0};
}

TextSetting NoteName(int note)
{
    return {"Notes", "Note" + std::to_string(note), "Note #" + std::to_string(note)};
}

TextSetting SlotKey(int slot)
{
    return {"Keys", "Slot" + std::to_string(slot), ""};
}

} // namespace settings

std::string SettingsFilePath(const std::string& dataDirectory)
{
    return dataDirectory + "FILE.INI";
}

std::string MainFileRefusal(std::string_view path)
{
    if (path.find_first_of("\r\n") != std::string_view::npos)
        return "A file whose name holds a line break cannot be assigned to a button";
    // Reading the settings file drops blanks at either end of a value.
    if (platform::Trim(path).size() != path.size())
        return "A file whose name begins or ends with a blank cannot be assigned to a button";
    if (path.size() > profile::MaxValueLength)
        return "A file whose name is longer than " + std::to_string(profile::MaxValueLength)
            + " characters cannot be assigned to a button";
    return {};
}
