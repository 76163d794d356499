#include "storage/SettingsKeys.h"

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

} // namespace settings

std::string SettingsFilePath(const std::string& programDirectory)
{
    return programDirectory + "FILE.INI";
}
