#pragma once

#include "storage/SettingsKeys.h"

#include <string>
#include <string_view>

// Converts text to an integer: decimal digits with an optional sign, or, for text longer than
// two characters that begins with "0x" or "0X", hexadecimal digits after those two. Anything
// else that is not a whole number in range gives fallback.
int StrToIntDef(std::string_view text, int fallback);

// Accessor of one settings file. It remembers the path and touches the file only when an
// operation runs; every access goes to the file afresh, though a file that has not changed since
// it was last read is not parsed again (see profile::ReadString).
class TIniFile {
public:
    explicit TIniFile(std::string path);

    std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) const;
    int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
    bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;

    // Writers throw std::runtime_error "Unable to write to <path>" when the value cannot be
    // stored.
    void WriteString(const std::string& section, const std::string& key, const std::string& value) const;
    void WriteInteger(const std::string& section, const std::string& key, int value) const;
    void WriteBool(const std::string& section, const std::string& key, bool value) const;

    // The same for the program's own keys, each in its form and with its default.
    std::string Read(const TextSetting& setting) const;
    int Read(const IntegerSetting& setting) const;
    bool Read(const BooleanSetting& setting) const;
    void Write(const TextSetting& setting, const std::string& value) const;
    void Write(const IntegerSetting& setting, int value) const;
    void Write(const BooleanSetting& setting, bool value) const;

private:
    std::string path_;
};
