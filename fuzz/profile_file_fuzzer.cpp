// Feeds arbitrary settings files to the profile reader and writer: no text may make them throw,
// crash or read out of bounds, a value written must read back as written, and a write must leave
// every other key of the program reading as it did.
//
// Input: one byte that picks one of the program's keys, the value to write up to the first line
// break, then the file's text.

#include "platform/text/Ascii.h"
#include "storage/ProfileFile.h"
#include "storage/SettingsKeys.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Key {
    std::string section;
    std::string name;
};

// Every section and key the program reads or writes.
std::vector<Key> ProgramKeys()
{
    std::vector<Key> keys;
    const auto add = [&keys](const auto& setting) { keys.push_back({setting.section, setting.key}); };
    add(settings::TabsVisible);
    add(settings::StartInTray);
    add(settings::HelpAtStart);
    add(settings::ViewStyle);
    add(settings::WindowTop);
    add(settings::WindowLeft());
    for (int index = 0; index < settings::TabHeadingCount; ++index)
        add(settings::TabHeading(index));
    for (int slot = 1; slot <= 12; ++slot) {
        add(settings::MainFile(slot));
        add(settings::ParamFlag(slot));
    }
    for (int note = 1; note <= 8; ++note)
        add(settings::NoteName(note));
    return keys;
}

bool SameKey(const Key& a, const Key& b)
{
    return platform::EqualIgnoringAsciiCase(a.section, b.section) && platform::EqualIgnoringAsciiCase(a.name, b.name);
}

void Require(bool fact)
{
    if (!fact)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::vector<Key> keys = ProgramKeys();
    std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input.empty())
        return 0;
    const Key& key = keys[std::uint8_t(input.front()) % keys.size()];
    input.remove_prefix(1);
    const std::string_view value = input.substr(0, input.find_first_of("\r\n"));
    const std::string content(input.substr(std::min(value.size() + 1, input.size())));

    // Names the program never uses must not break anything either.
    profile::FindValue(content, value, value);
    profile::WithValue(content, value, value, value);

    const std::string written = profile::WithValue(content, key.section, key.name, value);
    Require(profile::FindValue(written, key.section, key.name)
            == std::string(platform::Trim(value).substr(0, profile::MaxValueLength)));
    for (const Key& other : keys)
        if (!SameKey(other, key))
            Require(profile::FindValue(written, other.section, other.name)
                    == profile::FindValue(content, other.section, other.name));
    return 0;
}
