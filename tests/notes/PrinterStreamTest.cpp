// The text printer stream's layout, on a page of 200 x 100 units where every character is 10
// wide and 12 high unless a case says otherwise: tab stops lie every 80 units, a line with text
// on it is 14 high, an empty line 12.
#include "notes/PrinterStream.h"

#include "doubles/RecordingPrinter.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct LayoutCase {
    const char* name;
    QString text; // written as it comes, with its own CR LF
    std::vector<std::string> drawn;
    std::function<void(doubles::RecordingSurface&)> metrics = {};
};

QString Lines(int count, const QString& line)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += line + QStringLiteral("\r\n");
    return text;
}

const LayoutCase Cases[] = {
    {"LinesGoDownByTheirHeight", "one\r\ntwo\r\n", {"0,0 one", "0,14 two"}},
    {"CarriageReturnAloneKeepsTheLine", "ab\rcd\r\nef", {"0,0 ab", "20,0 cd", "0,14 ef"}},
    {"EmptyLineIsOneCharacterHigh", "a\r\n\r\nb", {"0,0 a", "0,26 b"}},
    {"OverWideLineGoesOnOnTheNext",
     "abcdefghijklmnopqrstuvwxy\r\nz",
     {"0,0 abcdefghijklmnopqrst", "0,14 uvwxy", "0,28 z"}},
    {"OverWidePieceAfterATabIsCutAtThePageEdge", "a\tbcdefghijklmn", {"0,0 a", "80,0 bcdefghijklm", "0,14 n"}},
    {"TabStopsLieBeyondXPlusOne", "a\tb\tc", {"0,0 a", "80,0 b", "160,0 c"}},
    {"TabRightBeforeAStopGoesToTheNext",
     "abcdefgh\tc",
     {"0,0 abcdefgh", "160,0 c"},
     [](doubles::RecordingSurface& s) { s.widths[u'h'] = 9; }}, // x = 79: the stop after 80
    {"TabBeyondThePageBeginsANewLine", "a\tb\tc\td", {"0,0 a", "80,0 b", "160,0 c", "0,14 d"}},
    {"TallerPieceRaisesTheLine",
     "a\tT\r\nb",
     {"0,0 a", "80,0 T", "0,22 b"},
     [](doubles::RecordingSurface& s) { s.heights[u'T'] = 20; }},
    {"PieceOnlyHigherThanTheTextKeepsTheLine", // 13 does not exceed 14: the line stays 14 high
     "a\tT\r\nb",
     {"0,0 a", "80,0 T", "0,14 b"},
     [](doubles::RecordingSurface& s) { s.heights[u'T'] = 13; }},
    {"FormFeedBeginsAPage", "a\fb\r\nc", {"0,0 a", "page", "0,0 b", "0,14 c"}},
    // Lines 14 high: after the sixth, y = 84 > 100 - 2 * 14.
    {"FullPageGoesOnOnTheNext",
     Lines(7, QStringLiteral("x")),
     {
         "0,0 x",
         "0,14 x",
         "0,28 x",
         "0,42 x",
         "0,56 x",
         "0,70 x",
         "page",
         "0,0 x",
     }},
    // Empty lines count 0 in the page condition: a page takes them until y > 100.
    {"EmptyLinesFillThePageToItsEnd",
     Lines(8, QString()) + QStringLiteral("x\r\n") + Lines(1, QString()) + QStringLiteral("y"),
     {"0,96 x", "page", "0,12 y"}},
    {"CharacterWiderThanThePageIsDrawnAlone",
     "aWb",
     {"0,0 a", "0,14 W", "0,28 b"},
     [](doubles::RecordingSurface& s) { s.widths[u'W'] = 250; }},
    {"CharacterOutsideTheBasicPlaneIsNeverSplit",
     QStringLiteral("abcdefghijklmnopqrs") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("z"),
     {"0,0 abcdefghijklmnopqrs", "0,14 " + QString::fromUcs4(U"\U0001F600").toStdString() + "z"}},
};

void PrintTo(const LayoutCase& layout, std::ostream* out)
{
    *out << layout.name;
}

class LayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTest, DrawsAsAPlainTextPrinter)
{
    doubles::RecordingSurface surface;
    surface.page = QSize(200, 100);
    if (GetParam().metrics)
        GetParam().metrics(surface);
    TPrinterStream stream(surface);
    stream.Write(GetParam().text);
    EXPECT_EQ(surface.drawn, GetParam().drawn);
}

INSTANTIATE_TEST_SUITE_P(PrinterStream, LayoutTest, ::testing::ValuesIn(Cases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(PrinterStream, WriteLineEndsTheLine)
{
    doubles::RecordingSurface surface;
    TPrinterStream stream(surface);
    stream.WriteLine(u"a");
    stream.WriteLine(u"");
    stream.WriteLine(u"b");
    EXPECT_EQ(surface.drawn, (std::vector<std::string>{"0,0 a", "0,26 b"}));
}

} // namespace
