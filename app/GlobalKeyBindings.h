#pragma once

#include "app/StripCommand.h"
#include "platform/Platform.h"

#include <functional>
#include <string>

namespace platform {
class GlobalKeys;
}

// The keys of the [Keys] section of the settings file, taken for the whole desktop for as long as
// this object lives: Toggle does what stackle --toggle does, SlotN what stackle --launch N does.
// A key that cannot be had (held by another program, not a key at all, given twice) is named in
// one message box; the others work all the same.
class TGlobalKeyBindings {
public:
    TGlobalKeyBindings(const platform::Platform& platform, platform::GlobalKeys& keys, const std::string& dataDirectory,
                       std::function<void(const TStripCommand&)> run);
    ~TGlobalKeyBindings();
    TGlobalKeyBindings(const TGlobalKeyBindings&) = delete;
    TGlobalKeyBindings& operator=(const TGlobalKeyBindings&) = delete;

private:
    platform::GlobalKeys& keys_;
};
