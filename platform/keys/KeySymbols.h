#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace platform {

// The symbol of the window system's keyboard (an X keysym) that a Qt key names, with the name the
// desktop's shortcut settings give it ("a", "1", "F5", "Page_Up"); the name may be empty.
struct KeySymbol {
    std::uint32_t code;
    QString name;
};

// Nothing for a key that is no symbol of a plain keyboard.
std::optional<KeySymbol> KeySymbolOf(int qtKey);

} // namespace platform
