#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

using KeyGroup = std::map<std::string, std::string>;
using KeyFile = std::map<std::string, KeyGroup>;

// The groups of a desktop-style key file: "[Group]" headers, "Key=Value" lines and '#'
// comments. A key repeated within a group keeps its first value; localised keys such as
// Name[de] stay under their full name. Values have the escapes \s \n \t \r and \\ resolved;
// any other backslash is kept, for list items and the Exec key's own quoting.
KeyFile ParseKeyFile(std::string_view text);

// The value of key in group, empty when either is missing.
std::string KeyValue(const KeyFile& file, const std::string& group, const std::string& key);

// The items of a ';'-separated list value, trimmed, empty ones dropped. "\;" stands for a ';'
// within an item.
std::vector<std::string> SplitList(std::string_view value);

} // namespace platform
