#pragma once

#include <string_view>
#include <vector>

namespace platform {

// One line of a text: its text is content[begin, end); its line end runs up to next.
struct TextLine {
    std::size_t begin;
    std::size_t end;
    std::size_t next;
    bool terminated() const { return next > end; }
    std::string_view in(std::string_view content) const { return content.substr(begin, end - begin); }
};

// The lines of a text, each ended by CR, by LF or by CR LF; the last may have no line end.
std::vector<TextLine> SplitLines(std::string_view content);
// The line that begins at begin (below content's size), for going through a long text line by
// line without a list of all its lines.
TextLine LineAt(std::string_view content, std::size_t begin);

} // namespace platform
