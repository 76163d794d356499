#include "notes/PrinterStream.h"

namespace {

const QChar Tab(u'\t');
const QChar CarriageReturn(u'\r');
const QChar LineFeed(u'\n');
const QChar FormFeed(u'\f');

// The length of text without its last character; a character outside the basic plane is given
// up whole.
qsizetype WithoutLastCharacter(QStringView text, qsizetype length)
{
    if (length >= 2 && text[length - 1].isLowSurrogate() && text[length - 2].isHighSurrogate())
        return length - 2;
    return length - 1;
}

qsizetype FirstCharacterLength(QStringView text)
{
    return text.size() >= 2 && text[0].isHighSurrogate() && text[1].isLowSurrogate() ? 2 : 1;
}

} // namespace

void TPrinterStream::Write(QStringView text)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != Tab && c != CarriageReturn && c != LineFeed && c != FormFeed)
            continue;
        Out(text.sliced(start, i - start));
        start = i + 1;
        if (c == Tab) {
            const int stop = std::max(1, 8 * surface_.AverageCharWidth());
            x_ = ((x_ + 1) / stop + 1) * stop; // the first stop beyond x + 1
            if (x_ > surface_.PageSize().width())
                NewLine();
        } else if (c == LineFeed) {
            NewLine();
        } else if (c == FormFeed) {
            NewPage();
        }
    }
    Out(text.sliced(start));
}

void TPrinterStream::WriteLine(QStringView line)
{
    Write(line);
    Write(u"\r\n");
}

void TPrinterStream::Out(QStringView text)
{
    while (!text.isEmpty()) {
        const int width = surface_.PageSize().width();
        qsizetype length = text.size();
        QSize extent = surface_.TextExtent(text.first(length).toString());
        while (length > 0 && x_ + extent.width() > width) {
            length = WithoutLastCharacter(text, length);
            extent = surface_.TextExtent(text.first(length).toString());
        }
        if (length == 0 && x_ == 0) {
            // Not even one character fits on a whole line: it is drawn anyway, cut by the page's
            // edge, rather than going on to new lines for ever.
            length = FirstCharacterLength(text);
            extent = surface_.TextExtent(text.first(length).toString());
        }
        if (length > 0) {
            if (extent.height() > lineHeight_)
                lineHeight_ = extent.height() + 2;
            surface_.DrawText(QPoint(x_, y_), text.first(length).toString());
        }
        text = text.sliced(length);
        if (text.isEmpty())
            x_ += extent.width();
        else
            NewLine();
    }
}

void TPrinterStream::NewLine()
{
    x_ = 0;
    y_ += lineHeight_ > 0 ? lineHeight_ : surface_.CharHeight();
    if (y_ > surface_.PageSize().height() - 2 * lineHeight_)
        NewPage();
    lineHeight_ = 0;
}

void TPrinterStream::NewPage()
{
    x_ = 0;
    y_ = 0;
    surface_.NewPage();
}
