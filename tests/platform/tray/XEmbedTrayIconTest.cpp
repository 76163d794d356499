#include "platform/tray/XEmbedTrayIcon.h"

#include "AlphaTray.h"
#include "doubles/X11Screen.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QWidget>

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

using namespace platform;
using platform::Owned;

bool WaitUntil(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, 10000);
}

// A picture with a bare border: a red square over the middle half.
QIcon RedSquare()
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter(&picture).fillRect(8, 8, 16, 16, Qt::red);
    return QIcon(picture);
}

// Off X11 (the offscreen tests) there is no XEmbed tray: the icon is never in one, and nothing
// fails for want of one.
TEST(XEmbedTrayIconOffX11, IsNeverShownAndFindsNoTray)
{
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        GTEST_SKIP() << "on an X server";
    XEmbedTrayIcon icon;
    QSignalSpy changes(&icon, &XEmbedTrayIcon::HostChanged);
    icon.SetIcon(RedSquare());
    icon.SetToolTip(QStringLiteral("tip"));
    icon.Show();
    EXPECT_FALSE(icon.Shown());
    EXPECT_FALSE(icon.HostAvailable());
    icon.Hide();
    EXPECT_EQ(changes.count(), 0);
}

// A real XEmbed tray: trayer along the bottom left of the screen, as in a user's panel.
class Trayer {
public:
    ~Trayer() { Stop(); }
    void Start()
    {
        process_.start(QStringLiteral("trayer"),
                       {"--edge", "bottom", "--align", "left", "--widthtype", "pixel", "--width", "120", "--heighttype",
                        "pixel", "--height", "32"});
        ASSERT_TRUE(process_.waitForStarted()) << "trayer is not installed (scripts/install-deps.sh installs it)";
    }
    void Stop()
    {
        process_.kill();
        process_.waitForFinished();
    }

private:
    QProcess process_;
};

// One of this program's windows as the X server shows it.
struct ShownWindow {
    xcb_window_t id = XCB_WINDOW_NONE;
    bool viewable = false;
    bool inside = false; // inside another window, not on the root window
    QRect onScreen;
};

class XEmbedTrayIconOnX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!screen.Available())
            GTEST_SKIP() << "not on an X server";
    }

    xcb_connection_t* Connection() const { return screen.Connection(); }

    // This program's windows that the X server knows.
    std::vector<ShownWindow> Windows() const
    {
        std::vector<ShownWindow> windows;
        for (const QWidget* widget : QApplication::topLevelWidgets()) {
            ShownWindow shown;
            shown.id = xcb_window_t(widget->internalWinId());
            const auto attributes = Owned(xcb_get_window_attributes_reply(
                Connection(), xcb_get_window_attributes(Connection(), shown.id), nullptr));
            const auto tree =
                Owned(xcb_query_tree_reply(Connection(), xcb_query_tree(Connection(), shown.id), nullptr));
            const auto size =
                Owned(xcb_get_geometry_reply(Connection(), xcb_get_geometry(Connection(), shown.id), nullptr));
            if (!attributes || !tree || !size)
                continue;
            const auto corner = Owned(xcb_translate_coordinates_reply(
                Connection(), xcb_translate_coordinates(Connection(), shown.id, tree->root, 0, 0), nullptr));
            shown.viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
            shown.inside = tree->parent != tree->root;
            shown.onScreen = QRect(corner->dst_x, corner->dst_y, size->width, size->height);
            windows.push_back(shown);
        }
        return windows;
    }
    // This program's windows viewable inside another program's: docked icons.
    std::vector<ShownWindow> Docked() const
    {
        std::vector<ShownWindow> docked;
        std::ranges::copy_if(Windows(), std::back_inserter(docked),
                             [](const ShownWindow& window) { return window.viewable && window.inside; });
        return docked;
    }
    // Whether a window of this program shows on its own on the screen.
    bool AnyViewableTopLevel() const
    {
        return std::ranges::any_of(Windows(),
                                   [](const ShownWindow& window) { return window.viewable && !window.inside; });
    }

    static void MovePointer(QPoint to)
    {
        ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"),
                                    {"mousemove", QString::number(to.x()), QString::number(to.y())}),
                  0);
    }

    // Starts the tray and docks icon into it, showing a red square; sets place to where the icon
    // is once it is drawn there, which the tray may settle only after it took the icon in, and
    // shot to the screen then.
    void Dock(XEmbedTrayIcon& icon)
    {
        trayer.Start();
        icon.SetIcon(RedSquare());
        ASSERT_TRUE(WaitUntil([&] { return icon.HostAvailable(); }));
        icon.Show();
        ASSERT_TRUE(WaitUntil([&] {
            const auto docked = Docked();
            if (!icon.Shown() || docked.size() != 1)
                return false;
            place = docked[0].onScreen;
            shot = ScreenPixels();
            return shot.pixel(place.center()) == qRgb(255, 0, 0);
        })) << "the icon is not docked and drawn";
    }

    // What the window shows, with its alpha channel; nothing for a window without one.
    QImage PixelsWithAlpha(const ShownWindow& window) const
    {
        const auto geometry =
            Owned(xcb_get_geometry_reply(Connection(), xcb_get_geometry(Connection(), window.id), nullptr));
        if (!geometry || geometry->depth != 32)
            return {};
        QImage pixels = screen.Pixels(window.id, window.onScreen.size());
        pixels.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
        return pixels;
    }

    QImage ScreenPixels() const
    {
        const xcb_screen_t* root = xcb_setup_roots_iterator(xcb_get_setup(Connection())).data;
        return screen.Pixels(root->root, QSize(root->width_in_pixels, root->height_in_pixels));
    }

    // Docks icon into the test's own tray; the icon's window is the tray's latest.
    void Dock(XEmbedTrayIcon& icon, AlphaTray& tray)
    {
        ASSERT_TRUE(tray.Running()) << "the X server offers no 32-bit visual";
        icon.SetIcon(RedSquare());
        ASSERT_TRUE(WaitUntil([&] {
            tray.Serve();
            return icon.HostAvailable();
        }));
        icon.Show();
        ASSERT_TRUE(WaitUntil([&] {
            tray.Serve();
            return icon.Shown();
        })) << "not docked";
    }
    static QWidget* WidgetOf(xcb_window_t window)
    {
        const auto widgets = QApplication::topLevelWidgets();
        const auto found = std::ranges::find_if(
            widgets, [&](const QWidget* widget) { return xcb_window_t(widget->internalWinId()) == window; });
        return found == widgets.end() ? nullptr : *found;
    }

    doubles::X11Screen screen;
    Trayer trayer;
    QRect place;
    QImage shot;
};

TEST_F(XEmbedTrayIconOnX11, DocksInATrayAndAgainInTheNextOneUntilHidden)
{
    trayer.Start();
    XEmbedTrayIcon icon;
    QSignalSpy changes(&icon, &XEmbedTrayIcon::HostChanged);
    ASSERT_TRUE(WaitUntil([&] { return icon.HostAvailable(); }));
    EXPECT_FALSE(icon.Shown()) << "before Show";
    icon.SetIcon(RedSquare());
    icon.Show();
    ASSERT_TRUE(WaitUntil([&] { return icon.Shown() && Docked().size() == 1; }));
    EXPECT_FALSE(AnyViewableTopLevel());
    EXPECT_GE(changes.count(), 1);

    changes.clear();
    trayer.Stop();
    ASSERT_TRUE(WaitUntil([&] { return !icon.HostAvailable(); }));
    EXPECT_FALSE(icon.Shown());
    EXPECT_GE(changes.count(), 1);
    // The tray hands its icons back to the root window as it ends: the icon must not stay there.
    EXPECT_TRUE(WaitUntil([&] { return !AnyViewableTopLevel(); }));

    changes.clear();
    trayer.Start();
    ASSERT_TRUE(WaitUntil([&] { return icon.Shown() && Docked().size() == 1; })) << "not docked again";
    EXPECT_GE(changes.count(), 2) << "the tray came, and the icon went in";

    changes.clear();
    icon.Hide();
    EXPECT_FALSE(icon.Shown());
    EXPECT_TRUE(icon.HostAvailable());
    EXPECT_EQ(changes.count(), 1);
    EXPECT_TRUE(WaitUntil([&] { return Docked().empty(); })) << "still in the tray";
    EXPECT_FALSE(AnyViewableTopLevel());
}

// The tray gives the icon its size; the bare parts of the icon show the tray's background.
TEST_F(XEmbedTrayIconOnX11, DrawsTheIconAtTheTraysSizeOverTheTraysBackground)
{
    XEmbedTrayIcon icon;
    Dock(icon);
    const QPoint middle = place.center();
    const int quarter = std::min(place.width(), place.height()) / 4;
    EXPECT_EQ(shot.pixel(middle.x() - quarter + 2, middle.y()), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(middle.x() + quarter - 2, middle.y()), qRgb(255, 0, 0));

    // Beside the icon, inside the tray, is the tray's own background.
    const QRgb tray = shot.pixel(place.right() + 4, middle.y());
    EXPECT_NE(tray, qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(place.left() + 1, place.top() + 1), tray);
    EXPECT_EQ(shot.pixel(middle.x() - quarter - 2, middle.y()), tray);
    EXPECT_EQ(shot.pixel(place.right() - 1, place.bottom() - 1), tray);
}

// A tray that composes its icons with an alpha channel gets the icon alone, transparent around it.
TEST_F(XEmbedTrayIconOnX11, IsTransparentAroundTheIconInATrayWithAnAlphaChannel)
{
    AlphaTray tray;
    ASSERT_TRUE(tray.Running()) << "the X server offers no 32-bit visual";
    XEmbedTrayIcon icon;
    icon.SetIcon(RedSquare());
    ASSERT_TRUE(WaitUntil([&] {
        tray.Serve();
        return icon.HostAvailable();
    }));
    icon.Show();
    QImage pixels;
    ASSERT_TRUE(WaitUntil([&] {
        tray.Serve();
        const auto docked = Docked();
        if (!icon.Shown() || docked.size() != 1)
            return false;
        pixels = PixelsWithAlpha(docked[0]);
        return !pixels.isNull() && pixels.pixel(pixels.rect().center()) == qRgba(255, 0, 0, 255);
    })) << "no icon drawn with an alpha channel in the tray";
    EXPECT_EQ(qAlpha(pixels.pixel(1, 1)), 0);
    EXPECT_EQ(qAlpha(pixels.pixel(pixels.width() - 2, pixels.height() - 2)), 0);
}

// Before any click: after one, Qt on this X server gets no more pointer motion in the program,
// so that no tip shows (seen with Xvfb and xdotool).
TEST_F(XEmbedTrayIconOnX11, ShowsTheTipWhileThePointerRestsOnTheIcon)
{
    XEmbedTrayIcon icon;
    icon.SetToolTip(QStringLiteral("an earlier tip"));
    Dock(icon);
    icon.SetToolTip(QStringLiteral("Stackle"));
    MovePointer(place.center() - QPoint(0, 100)); // from off the icon onto it
    MovePointer(place.center());
    EXPECT_TRUE(WaitUntil([] { return QToolTip::isVisible() && QToolTip::text() == QLatin1String("Stackle"); }));
    QToolTip::hideText();
}

// However large a tray makes the icon's window, the icon is drawn no larger than a tray icon
// ever is: a picture of the tray's size would cost gigabytes.
TEST_F(XEmbedTrayIconOnX11, DrawsTheIconNoLargerThanATrayIconWhateverSizeTheTrayAsks)
{
    AlphaTray tray;
    XEmbedTrayIcon icon;
    Dock(icon, tray);
    QWidget* window = WidgetOf(tray.Taken().back());
    ASSERT_NE(window, nullptr);
    tray.Resize(tray.Taken().back(), 32000, 32000);
    EXPECT_TRUE(WaitUntil([&] { return window->size() == QSize(256, 256); })) << window->size().width();
    QTest::qWait(200); // drawn at that size
    EXPECT_TRUE(icon.Shown());
}

// A tray that destroys the icon's window, asks it to close or unmaps it no longer shows the icon,
// whatever the icon believed: "-" must not hide the strip then. The icon docks again in a new
// window as soon as the tray takes one in.
TEST_F(XEmbedTrayIconOnX11, IsOutOfTheTrayWhenTheTrayEndsItsWindowAndDocksAgain)
{
    AlphaTray tray;
    XEmbedTrayIcon icon;
    Dock(icon, tray);
    const std::pair<const char*, std::function<void(xcb_window_t)>> misdeeds[] = {
        {"destroyed", [&](xcb_window_t window) { tray.Destroy(window); }},
        {"asked to close", [&](xcb_window_t window) { tray.AskToClose(window); }},
        {"unmapped", [&](xcb_window_t window) { tray.Unmap(window); }},
    };
    for (const auto& [misdeed, commit] : misdeeds) {
        tray.takesIcons = false;
        const std::size_t taken = tray.Taken().size();
        commit(tray.Taken().back());
        EXPECT_TRUE(WaitUntil([&] {
            tray.Serve();
            return !icon.Shown();
        })) << misdeed;
        QTest::qWait(1000);
        tray.Serve();
        EXPECT_FALSE(icon.Shown()) << misdeed << ", with no tray to take it in again";
        tray.takesIcons = true;
        EXPECT_TRUE(WaitUntil([&] {
            tray.Serve();
            return icon.Shown() && tray.Taken().size() == taken + 1;
        })) << misdeed
            << ": not docked again";
    }
}

// Qt takes an XEMBED message's time as the X server's and asks for the focus with it: a time
// ahead of the server's would make the server ignore every such request, so that typing went
// nowhere.
TEST_F(XEmbedTrayIconOnX11, AnXEmbedMessageStampedInTheFutureLeavesTheFocusWorking)
{
    AlphaTray tray;
    XEmbedTrayIcon icon;
    Dock(icon, tray);
    constexpr std::uint32_t XEmbedWindowActivate = 1;
    constexpr std::uint32_t Hour = 3600 * 1000;
    tray.SendXEmbed(tray.Taken().back(), tray.ServerTime() + Hour, XEmbedWindowActivate);
    QTest::qWait(300); // the message has reached Qt

    QLineEdit memo;
    memo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&memo));
    memo.activateWindow();
    EXPECT_TRUE(WaitUntil([&] {
        const auto focus = Owned(xcb_get_input_focus_reply(Connection(), xcb_get_input_focus(Connection()), nullptr));
        return focus && focus->focus == xcb_window_t(memo.internalWinId());
    })) << "the X server did not give the window the focus";
}

} // namespace
