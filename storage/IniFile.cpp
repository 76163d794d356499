#include "storage/IniFile.h"

#include "storage/ProfileFile.h"

#include <charconv>
#include <stdexcept>

int StrToIntDef(std::string_view text, int fallback)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    } else if (!text.empty() && text[0] == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text[0] == '-')
            return fallback; // "+-5" is no number
    }
    if (text.empty() || text[0] == '+' || (base == 16 && text[0] == '-'))
        return fallback;
    const char* end = text.data() + text.size();
    if (base == 16) {
        // Eight hexadecimal digits fill the 32 bits, so 0xFFFFFFFF is -1.
        unsigned value = 0;
        const auto [stop, error] = std::from_chars(text.data(), end, value, 16);
        return error == std::errc() && stop == end ? int(value) : fallback;
    }
    int value = 0;
    const auto [stop, error] = std::from_chars(text.data(), end, value, 10);
    return error == std::errc() && stop == end ? value : fallback;
}

TIniFile::TIniFile(std::string path)
    : path_(std::move(path))
{
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& fallback) const
{
    return profile::ReadString(section, key, fallback, path_);
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int fallback) const
{
    return StrToIntDef(ReadString(section, key, std::string()), fallback);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) const
{
    if (!profile::WriteString(section, key, value, path_))
        throw std::runtime_error("Unable to write to " + path_);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) const
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) const
{
    WriteString(section, key, value ? "1" : "0");
}

std::string TIniFile::Read(const TextSetting& setting) const
{
    return ReadString(setting.section, setting.key, setting.fallback);
}

int TIniFile::Read(const IntegerSetting& setting) const
{
    return ReadInteger(setting.section, setting.key, setting.fallback);
}

bool TIniFile::Read(const BooleanSetting& setting) const
{
    return ReadBool(setting.section, setting.key, setting.fallback);
}

void TIniFile::Write(const TextSetting& setting, const std::string& value) const
{
    WriteString(setting.section, setting.key, value);
}

void TIniFile::Write(const IntegerSetting& setting, int value) const
{
    WriteInteger(setting.section, setting.key, value);
}

void TIniFile::Write(const BooleanSetting& setting, bool value) const
{
    WriteBool(setting.section, setting.key, value);
}
