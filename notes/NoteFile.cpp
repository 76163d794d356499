#include "notes/NoteFile.h"

#include "platform/files/FileContent.h"
#include "platform/text/Encoding.h"

#include <array>

namespace {

// The characters of Windows-1252's bytes 0x80 to 0x9F; every other byte is the character of its
// own number. The five bytes the code page leaves unassigned stand for the control characters
// of their number, so that every file reads and writes back byte for byte.
constexpr std::array<char16_t, 32> Windows1252High = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString FromWindows1252(std::string_view bytes)
{
    QString text(qsizetype(bytes.size()), Qt::Uninitialized);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[qsizetype(i)] = byte >= 0x80 && byte < 0xA0 ? QChar(Windows1252High[byte - 0x80]) : QChar(byte);
    }
    return text;
}

// The text in Windows-1252, or nothing when it holds a character the code page lacks.
std::optional<std::string> ToWindows1252(const QString& text)
{
    std::string bytes;
    bytes.reserve(std::size_t(text.size()));
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            bytes += char(code);
            continue;
        }
        std::size_t i = 0;
        while (i < Windows1252High.size() && Windows1252High[i] != code)
            ++i;
        if (i == Windows1252High.size())
            return std::nullopt;
        bytes += char(0x80 + i);
    }
    return bytes;
}

// Text whose lines end in CR LF, a lone CR or a lone LF, with '\n' between its lines.
QString WithLineFeeds(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // As the memo shows them, and as it gives them back.
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

} // namespace

QString NoteText(std::string_view bytes, NoteEncoding& encoding)
{
    QString text = platform::FromBytes(bytes);
    if (platform::ToBytes(text) == bytes) {
        encoding = NoteEncoding::Locale;
        return text;
    }
    encoding = NoteEncoding::Windows1252;
    return FromWindows1252(bytes);
}

TNoteFile ReadNoteFile(const std::string& path)
{
    TNoteFile note;
    note.bytes = platform::ReadFileContent(path);
    if (!note.bytes)
        return note;
    const std::string_view shown = std::string_view(*note.bytes).substr(0, note.bytes->find('\0'));
    note.text = WithLineFeeds(NoteText(shown, note.encoding));
    return note;
}

std::string NoteBytes(const QString& text, NoteEncoding& encoding)
{
    QString stored = text;
    stored.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    if (encoding == NoteEncoding::Windows1252) {
        if (auto bytes = ToWindows1252(stored))
            return *std::move(bytes);
    }
    encoding = NoteEncoding::Locale;
    return platform::ToBytes(stored);
}
