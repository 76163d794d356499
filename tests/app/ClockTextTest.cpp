#include "app/ClockText.h"

#include <gtest/gtest.h>

namespace {

const QStringList English{"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

QString At(int month, int day, int hour, int minute, const QStringList& months = English,
           const QString& separator = QStringLiteral(":"))
{
    return ClockText(QDateTime(QDate(2026, month, day), QTime(hour, minute)), months, separator);
}

TEST(ClockText, ShowsMonthDayAndTwelveHourTimeWithOneTrailingBlank)
{
    EXPECT_EQ(At(12, 6, 13, 5), QStringLiteral("Dec 6  1:05 "));
    EXPECT_EQ(At(1, 31, 9, 59), QStringLiteral("Jan 31  9:59 "));
    EXPECT_EQ(At(7, 1, 23, 0), QStringLiteral("Jul 1  11:00 "));
}

TEST(ClockText, MidnightAndNoonBothShowHourTwelveWithoutDesignator)
{
    EXPECT_EQ(At(12, 6, 0, 30), QStringLiteral("Dec 6  12:30 "));
    EXPECT_EQ(At(12, 6, 12, 5), QStringLiteral("Dec 6  12:05 "));
}

TEST(ClockText, UsesTheLocalesMonthNamesAndSeparator)
{
    const QStringList german{"Jan.", "Feb.", "März", "Apr.", "Mai",  "Juni",
                             "Juli", "Aug.", "Sep.", "Okt.", "Nov.", "Dez."};
    EXPECT_EQ(At(3, 9, 18, 7, german, QStringLiteral(".")), QStringLiteral("März 9  6.07 "));
}

} // namespace
