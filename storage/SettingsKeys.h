#pragma once

#include <string>
#include <string_view>

// A key of the settings file: its section, its name and what a read gives when the file, the
// section or the key is missing. The value type is the key's form: text, integer or boolean.
template <typename Value> struct Setting {
    std::string section;
    std::string key;
    Value fallback;
};
using TextSetting = Setting<std::string>;
using IntegerSetting = Setting<int>;
using BooleanSetting = Setting<bool>;

// Every key the program reads or writes. Nothing else names a section or a key.
namespace settings {

// "False" hides the strip's tab strip; any other text shows it. Text, not a boolean.
inline const TextSetting TabsVisible{"TABS", "Visible", "True"};
// Start hidden in the notification area.
inline const BooleanSetting StartInTray{"Tray", "Default", false};
// Open the help window at start-up: true until the first start has run.
inline const BooleanSetting HelpAtStart{"Help", "Visible", true};
// The view style, 1 to 3.
inline const IntegerSetting ViewStyle{"Format", "Style", 1};
// The strip's top edge in screen pixels.
inline const IntegerSetting WindowTop{"EXE", "YPos", 0};

// The strip's left edge in screen pixels; its default depends on the screen (a write needs none).
IntegerSetting WindowLeft(int fallback = 0);
// The heading of the tab of group index + 1 (index 0 to 2): "Group1" to "Group3".
inline constexpr int TabHeadingCount = 3;
TextSetting TabHeading(int index);
// Full path of launch slot n's main file (n 1 to 12); empty for none.
TextSetting MainFile(int slot);
// Launch slot n's parameter flag: non-zero on.
IntegerSetting ParamFlag(int slot);
// The name of note n (1 to 8): "Note #1" to "Note #8".
TextSetting NoteName(int note);
// Keys for the whole desktop, in Qt's portable text (Meta+1, Ctrl+Alt+S); none set by default.
// The one that hides and brings back the strip, and the one that starts slot n (1 to 12).
inline const TextSetting ToggleKey{"Keys", "Toggle", ""};
TextSetting SlotKey(int slot);

} // namespace settings

// The settings file in the data directory (which ends in '/').
std::string SettingsFilePath(const std::string& dataDirectory);

// Why a file cannot be a launch slot's main file, whose path the settings file would not give
// back as it was stored (a line break, a blank at either end, more than a value can hold); empty
// when it can.
std::string MainFileRefusal(std::string_view path);
