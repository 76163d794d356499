#pragma once

#include <QString>
#include <QStringDecoder>

#include <string>
#include <string_view>

namespace platform {

// File names, paths and stored texts are bytes as the file system and the files hold them; the
// windows show them as QString. These two convert between both, the same way everywhere; a
// leading byte-order mark is kept as a character, so that bytes in the locale's encoding come
// back unchanged.
inline QString FromBytes(std::string_view bytes)
{
    QStringDecoder decoder(QStringDecoder::System,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

inline std::string ToBytes(const QString& text)
{
    return text.toLocal8Bit().toStdString();
}

} // namespace platform
