#include "app/Splash.h"

#include <gtest/gtest.h>

#include "doubles/X11Screen.h"

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

// On X11 the splash is drawn before it is shown, into a picture the X server keeps and shows by
// itself whenever the window maps: shown again by the server alone, without Qt handling a single
// event, it is seen whole. So showing it never waits for the server. Runs on an X server (the
// e2e.x11 test); skipped offscreen.
TEST(Splash, IsSeenWholeWheneverTheXServerMapsIt)
{
    const doubles::X11Screen screen;
    if (!screen.Available())
        GTEST_SKIP() << "not on an X server";
    TFormSplash splash(QSize(1024, 768));
    const QImage expected = splash.grab().toImage().convertToFormat(QImage::Format_RGB32);
    splash.showNow();
    const auto window = xcb_window_t(splash.winId());
    screen.Unmap(window);
    screen.Map(window);
    screen.Flush();
    ASSERT_TRUE(screen.WaitViewable(window)) << "the X server did not map the splash";
    EXPECT_EQ(screen.Pixels(window, expected.size()), expected) << "the splash is not seen as drawn";
}
