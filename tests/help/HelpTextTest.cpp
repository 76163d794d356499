#include "help/HelpText.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct Breaking {
    const char* name;
    QString text;
    int width;
    QStringList lines;
};

class BreakAtBlanksTest : public ::testing::TestWithParam<Breaking> {};

TEST_P(BreakAtBlanksTest, BreaksAtBlanksWithinTheWidth)
{
    EXPECT_EQ(help::BreakAtBlanks(GetParam().text, GetParam().width), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BreakAtBlanksTest,
    ::testing::Values(
        Breaking{"Empty", QString(), 10, {}},
        Breaking{"ExactlyFull", QStringLiteral("abcd efghi"), 10, {QStringLiteral("abcd efghi")}},
        Breaking{"OneOver", QStringLiteral("abcd efghij"), 10, {QStringLiteral("abcd"), QStringLiteral("efghij")}},
        Breaking{"LongWordAlone",
                 QStringLiteral("a abcdefghijkl b"),
                 10,
                 {QStringLiteral("a"), QStringLiteral("abcdefghijkl"), QStringLiteral("b")}},
        Breaking{"RunsOfBlanks", QStringLiteral("  ab   cd  "), 10, {QStringLiteral("ab cd")}},
        Breaking{"ManyLines",
                 QStringLiteral("aa bb cc dd ee"),
                 5,
                 {QStringLiteral("aa bb"), QStringLiteral("cc dd"), QStringLiteral("ee")}}),
    [](const ::testing::TestParamInfo<Breaking>& breaking) { return breaking.param.name; });

// The memo's text holds every word of the 25 blocks in order, in lines of at most 67
// characters; blocks 8, 12 and 18 follow on the next line, every other one after an empty line.
TEST(HelpMemoTextTest, LinesAndBlockSpacing)
{
    const std::vector<QString>& blocks = help::HelpBlocks();
    ASSERT_EQ(blocks.size(), 25u);
    const std::set<std::size_t> followOn = {8, 12, 18}; // 1-based

    const QStringList lines = help::HelpMemoText().split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        EXPECT_LE(line.size(), 67) << line.toStdString();
        EXPECT_EQ(line, line.trimmed()) << "blank at an end of \"" << line.toStdString() << "\"";
    }

    qsizetype at = 0;
    for (std::size_t block = 1; block <= blocks.size(); ++block) {
        SCOPED_TRACE(block);
        if (block > 1 && !followOn.count(block)) {
            ASSERT_LT(at, lines.size());
            EXPECT_TRUE(lines[at].isEmpty()) << "no empty line before the block";
            ++at;
        }
        const QStringList words = blocks[block - 1].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QStringList found;
        while (found.size() < words.size() && at < lines.size() && !lines[at].isEmpty())
            found << lines[at++].split(QLatin1Char(' '));
        EXPECT_EQ(found, words);
    }
    EXPECT_EQ(at, lines.size()) << "text after the last block";
}

} // namespace
