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

} // namespace platform
