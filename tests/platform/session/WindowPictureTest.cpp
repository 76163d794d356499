#include "platform/session/WindowPicture.h"

#include "doubles/X11Screen.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QWidget>

namespace {

// A picture no widget would draw by itself: every pixel tells where it is.
QImage Gradient(QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            picture.setPixel(x, y, qRgb(x % 256, y % 256, (x * 7 + y * 3) % 256));
    return picture;
}

// The X server shows a window's picture by itself whenever it maps the window, however large
// the picture (several requests' worth here), before the program draws anything. Runs on an X
// server (the e2e.x11 test); offscreen there is nothing to give the picture to.
TEST(WindowPicture, IsWhatTheXServerShowsWhenItMapsTheWindow)
{
    const doubles::X11Screen screen;
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.resize(700, 500);
    if (!screen.Available()) {
        EXPECT_FALSE(platform::SetWindowPicture(window, Gradient(window.size())));
        GTEST_SKIP() << "not on an X server";
    }
    EXPECT_FALSE(platform::SetWindowPicture(window, Gradient(QSize(699, 500)))) << "a picture of another size";
    const QImage picture = Gradient(window.size());
    ASSERT_TRUE(platform::SetWindowPicture(window, picture));

    // Mapped behind Qt's back, so that Qt never draws the window.
    const auto id = xcb_window_t(window.winId());
    screen.Map(id);
    screen.Flush();
    ASSERT_TRUE(screen.WaitViewable(id));
    EXPECT_EQ(screen.Pixels(id, picture.size()), picture);
    screen.Unmap(id);
    screen.Flush();
}

} // namespace
