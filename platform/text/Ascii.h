#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Letter case of the ASCII letters only: every other byte, those of UTF-8 sequences included,
// stays as it is, whatever the locale.
constexpr char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

constexpr char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

std::string AsciiLower(std::string text);
std::string AsciiUpper(std::string text);
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

// text without the spaces, tabs and carriage returns at either end: always a part of text, so
// that where it lies in text can be worked out (an empty one at text's end when all is blank).
std::string_view Trim(std::string_view text);

// The parts of text between separators, empty ones left out.
std::vector<std::string> Split(std::string_view text, char separator);

} // namespace platform
