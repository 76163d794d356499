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
    const QLabel* picture = splash.findChild<QLabel*>(QStringLiteral("ImageIcon"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->geometry(), QRect(236, 116, 32, 32));
    EXPECT_EQ(picture->pixmap().size(), QSize(32, 32)) << "the splash shows no picture";
    splash.showNow();
    EXPECT_TRUE(splash.isVisible());
}
