#include "storage/Settings.h"

#include "storage/IniFile.h"

#include <exception>

namespace {

template <typename Setting, typename Value>
void StoreIgnoringFailure(const std::string& path, const Setting& setting, const Value& value)
{
    try {
        TIniFile(path).Write(setting, value);
    } catch (const std::exception&) {
    }
}

} // namespace

TSettings::TSettings(const std::string& dataDirectory)
    : path_(SettingsFilePath(dataDirectory))
{
}

std::string TSettings::Read(const TextSetting& setting) const
{
    return TIniFile(path_).Read(setting);
}

int TSettings::Read(const IntegerSetting& setting) const
{
    return TIniFile(path_).Read(setting);
}

bool TSettings::Read(const BooleanSetting& setting) const
{
    return TIniFile(path_).Read(setting);
}

void TSettings::Store(const TextSetting& setting, const std::string& value) const
{
    StoreIgnoringFailure(path_, setting, value);
}

void TSettings::Store(const IntegerSetting& setting, int value) const
{
    StoreIgnoringFailure(path_, setting, value);
}

void TSettings::Store(const BooleanSetting& setting, bool value) const
{
    StoreIgnoringFailure(path_, setting, value);
}
