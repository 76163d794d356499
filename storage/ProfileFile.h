#pragma once

#include <optional>
#include <string>
#include <string_view>

// Profile files: plain text of "[Section]" lines and "Key=Value" lines, 8-bit, CR LF line ends.
// Section and key names match without regard to letter case; a value is the text after the
// first '=' of its line without the blanks around it.
namespace profile {

// Values longer than this come back cut to it.
inline constexpr std::size_t MaxValueLength = 1023;

// The value of key in section, cut to MaxValueLength, or fallback when the file, the section
// or the key is missing. A key with nothing after its '=' gives the empty text.
std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback,
                       const std::string& path);

// Stores the value of key in section: the file is created when missing, a missing section is
// added at the end of the file, an existing key's line is replaced, and a new key goes to the
// end of its section. Every other line stays byte for byte as it was. A key that holds the value
// already is left as it is, and the file is not written at all. Returns false when the file
// cannot be written, or when the section, the key or the value holds a line break, which would
// add lines of its own to the file; the file is then left as it was.
//
// Both read the file afresh unless it is the file they read last and its stamp (identity, size
// and change times) is still the one it had then; one parsed copy of that file is kept.
bool WriteString(std::string_view section, std::string_view key, std::string_view value, const std::string& path);

// The same two operations on the text of a profile file.
std::optional<std::string> FindValue(std::string_view content, std::string_view section, std::string_view key);
std::string WithValue(std::string_view content, std::string_view section, std::string_view key, std::string_view value);

} // namespace profile
