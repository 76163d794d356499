#include "platform/files/TextLines.h"

namespace platform {

TextLine LineAt(std::string_view content, std::size_t begin)
{
    std::size_t end = content.find_first_of("\r\n", begin);
    if (end == std::string_view::npos)
        end = content.size();
    std::size_t next = end;
    if (next < content.size())
        next += content.compare(end, 2, "\r\n") == 0 ? 2 : 1;
    return {begin, end, next};
}

std::vector<TextLine> SplitLines(std::string_view content)
{
    std::vector<TextLine> lines;
    for (std::size_t begin = 0; begin < content.size(); begin = lines.back().next)
        lines.push_back(LineAt(content, begin));
    return lines;
}

} // namespace platform
