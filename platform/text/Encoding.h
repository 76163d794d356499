#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace platform {

// File names, paths and stored texts are bytes as the file system and the files hold them; the
// windows show them as QString. These two convert between both, the same way everywhere.
inline QString FromBytes(std::string_view bytes)
{
    return QString::fromLocal8Bit(bytes.data(), qsizetype(bytes.size()));
}

inline std::string ToBytes(const QString& text)
{
    return text.toLocal8Bit().toStdString();
}

} // namespace platform
