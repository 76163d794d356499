#include "platform/files/TextLines.h"

namespace platform {

std::vector<TextLine> SplitLines(std::string_view content)
{
    std::vector<TextLine> lines;
    std::size_t begin = 0;
    while (begin < content.size()) {
        std::size_t end = begin;
        while (end < content.size() && content[end] != '\r' && content[end] != '\n')
            ++end;
        std::size_t next = end;
        if (next < content.size())
            next += content.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        lines.push_back({begin, end, next});
        begin = next;
    }
    return lines;
}

} // namespace platform
