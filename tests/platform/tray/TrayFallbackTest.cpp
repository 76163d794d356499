#include "platform/tray/LinuxNotificationArea.h"

#include "AlphaTray.h"
#include "ScriptedWatcher.h"
#include "doubles/FakePlatform.h"
#include "doubles/PrivateSessionBus.h"
#include "doubles/X11Screen.h"

#include <gtest/gtest.h>

#include <QTest>

namespace {

using namespace platform;
using namespace std::chrono_literals;

// A status-notifier watcher that refuses the icon, or never answers its registration, does not
// show it: with an XEmbed tray there the icon goes to the tray (shown, and not by the watcher's
// host), and moves to the watcher's host once the watcher takes it.
TEST(TrayFallbackOnX11, AnIconTheWatcherRefusesOrIgnoresGoesToTheXEmbedTrayUntilTaken)
{
    const doubles::X11Screen screen;
    if (!screen.Available())
        GTEST_SKIP() << "not on an X server";
    const doubles::PrivateSessionBus session;
    ASSERT_FALSE(session.Address().isEmpty()) << "dbus-daemon did not start (scripts/install-deps.sh installs it)";
    AlphaTray tray;
    ASSERT_TRUE(tray.Running()) << "the X server offers no 32-bit visual";
    const auto servedUntil = [&](const std::function<bool()>& condition) {
        return QTest::qWaitFor(
            [&] {
                tray.Serve();
                return condition();
            },
            15000);
    };

    int run = 0;
    for (const auto registration : {ScriptedWatcher::Registration::Refuse, ScriptedWatcher::Registration::Ignore}) {
        ScriptedWatcher watcher(session.Address(), QStringLiteral("watcher-%1").arg(++run));
        watcher.registration = registration;
        doubles::ScriptedDialogs dialogs;
        LinuxNotificationArea area(dialogs, DesktopTrayIconViews);
        const WindowHandle window = area.CreateMessageWindow([](std::uint32_t, std::uintptr_t, std::intptr_t) {});
        NotifyIconData icon;
        icon.hWnd = window;
        icon.uID = 42;
        ASSERT_TRUE(area.NotifyIcon(NIM_ADD, icon));
        // Out of the XEmbed tray, if it was there, before the registration is asked for.
        ASSERT_TRUE(servedUntil([&] { return watcher.registrations == 1; }));
        EXPECT_TRUE(servedUntil([&] { return area.IconShown(window, 42, 0ms); })) << "run " << run << ": nowhere";
        EXPECT_TRUE(watcher.items.isEmpty()) << "run " << run << ": shown in the watcher's host";

        watcher.registration = ScriptedWatcher::Registration::Take;
        watcher.AnnounceHost();
        EXPECT_TRUE(servedUntil([&] { return watcher.items.size() == 1 && area.IconShown(window, 42, 0ms); }))
            << "run " << run << ": not registered once the watcher took it";
        area.NotifyIcon(NIM_DELETE, icon);
    }
}

} // namespace
