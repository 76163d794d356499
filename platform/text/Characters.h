#pragma once

#include <QString>

#include <algorithm>

namespace platform {

// The first count characters of text, a character outside the basic plane kept whole or not at
// all (never half of its surrogate pair).
inline QString FirstCharacters(const QString& text, qsizetype count)
{
    qsizetype length = std::min(text.size(), count);
    if (length > 0 && length < text.size() && text[length - 1].isHighSurrogate())
        --length;
    return text.first(length);
}

// Text on one line, for a box that holds one: each line break in it (CR LF, a lone CR or LF, a
// line or paragraph separator) becomes the blank it shows as.
inline QString OneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    for (QChar& c : text) {
        if (c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return text;
}

} // namespace platform
