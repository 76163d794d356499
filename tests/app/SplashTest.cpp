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

    // A 3-pixel navy border, then the 2-pixel lowered bevel inside it.
    const QImage shot = splash.grab().toImage();
    const QColor navy(0, 0, 128);
    for (const QPoint border : {QPoint(0, 0), QPoint(2, 2), QPoint(160, 1), QPoint(316, 210)})
        EXPECT_EQ(shot.pixelColor(border), navy) << border.x() << "," << border.y();
    EXPECT_NE(shot.pixelColor(3, 3), navy);
    EXPECT_NE(shot.pixelColor(4, 100), navy);
    EXPECT_NE(shot.pixelColor(315, 100), navy);
    EXPECT_EQ(shot.pixelColor(6, 100), navy);
}
