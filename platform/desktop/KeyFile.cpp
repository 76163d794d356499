#include "platform/desktop/KeyFile.h"

#include "platform/text/Ascii.h"

namespace platform {

namespace {

std::string Unescaped(std::string_view value)
{
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        switch (const char next = value[++i]) {
        case 's': text += ' '; break;
        case 'n': text += '\n'; break;
        case 't': text += '\t'; break;
        case 'r': text += '\r'; break;
        case '\\': text += '\\'; break;
        default: text += '\\'; text += next;
        }
    }
    return text;
}

} // namespace

KeyFile ParseKeyFile(std::string_view text)
{
    KeyFile file;
    KeyGroup* group = nullptr;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            group = &file[std::string(line.substr(1, line.size() - 2))];
            continue;
        }
        const auto equals = line.find('=');
        if (group && equals != std::string_view::npos)
            group->try_emplace(std::string(Trim(line.substr(0, equals))), Unescaped(Trim(line.substr(equals + 1))));
    }
    return file;
}

std::string KeyValue(const KeyFile& file, const std::string& group, const std::string& key)
{
    const auto inGroup = file.find(group);
    if (inGroup == file.end())
        return {};
    const auto value = inGroup->second.find(key);
    return value == inGroup->second.end() ? std::string() : value->second;
}

std::vector<std::string> SplitList(std::string_view value)
{
    std::vector<std::string> items;
    std::string item;
    const auto endItem = [&] {
        if (const auto trimmed = Trim(item); !trimmed.empty())
            items.emplace_back(trimmed);
        item.clear();
    };
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == ';')
            item += value[++i];
        else if (value[i] == ';')
            endItem();
        else
            item += value[i];
    }
    endItem();
    return items;
}

} // namespace platform
