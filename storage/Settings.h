#pragma once

#include "storage/SettingsKeys.h"

#include <string>

// The settings file of the data directory, for the whole run. It holds nothing of the file:
// every read and every store opens the file, performs its one access and releases it, so that
// each access sees the file as it is now.
class TSettings {
public:
    explicit TSettings(const std::string& dataDirectory);

    std::string Read(const TextSetting& setting) const;
    int Read(const IntegerSetting& setting) const;
    bool Read(const BooleanSetting& setting) const;

    // A value that cannot be stored is simply not stored, without a message: what the screen
    // and memory hold stands for the rest of the run.
    void Store(const TextSetting& setting, const std::string& value) const;
    void Store(const IntegerSetting& setting, int value) const;
    void Store(const BooleanSetting& setting, bool value) const;

private:
    std::string path_;
};
