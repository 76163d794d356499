#include "app/Splash.h"

#include <gtest/gtest.h>

#include <QLabel>

TEST(Splash, IsABorderlessWindowCentredOnTheScreen)
{
    TFormSplash splash(QSize(1024, 768));
    EXPECT_EQ(splash.geometry(), QRect((1024 - 319) / 2, (768 - 213) / 2, 319, 213));
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    const QLabel* product = splash.findChild<QLabel*>(QStringLiteral("LabelProduct"));
    ASSERT_NE(product, nullptr);
    EXPECT_EQ(product->text(), QStringLiteral("Stackle"));
    splash.showNow();
    EXPECT_TRUE(splash.isVisible());
}
