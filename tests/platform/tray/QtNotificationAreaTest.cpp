#include "platform/tray/QtNotificationArea.h"

#include "doubles/FakePlatform.h"

#include <gtest/gtest.h>

#include <QPixmap>
#include <QSystemTrayIcon>

#include <stdexcept>
#include <vector>

namespace {

using namespace platform;

class QtNotificationAreaTest : public ::testing::Test {
protected:
    doubles::ScriptedDialogs dialogs;
    QtNotificationArea area{dialogs};
    std::vector<std::intptr_t> received;
    WindowHandle window =
        area.CreateMessageWindow([this](std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
            EXPECT_EQ(message, 0x464u);
            EXPECT_EQ(wParam, 42u);
            received.push_back(lParam);
        });

    NotifyIconData Record(std::uint32_t flags = NIF_MESSAGE | NIF_ICON | NIF_TIP) const
    {
        QPixmap picture(16, 16);
        picture.fill(Qt::green);
        NotifyIconData data;
        data.cbSize = 88;
        data.hWnd = window;
        data.uID = 42;
        data.uFlags = flags;
        data.uCallbackMessage = 0x464;
        data.hIcon = QIcon(picture);
        return data;
    }
    QSystemTrayIcon* TrayIcon() const
    {
        const auto icons = area.findChildren<QSystemTrayIcon*>();
        return icons.size() == 1 ? icons[0] : nullptr;
    }
};

TEST_F(QtNotificationAreaTest, IconIsAddedOnceChangedAndRemoved)
{
    EXPECT_FALSE(area.NotifyIcon(NIM_MODIFY, Record()));
    EXPECT_FALSE(area.NotifyIcon(NIM_DELETE, Record()));
    NotifyIconData unknownWindow = Record();
    unknownWindow.hWnd = window + 1;
    EXPECT_FALSE(area.NotifyIcon(NIM_ADD, unknownWindow));

    NotifyIconData data = Record();
    data.szTip = QStringLiteral("tip");
    ASSERT_TRUE(area.NotifyIcon(NIM_ADD, data));
    EXPECT_FALSE(area.NotifyIcon(NIM_ADD, data));
    ASSERT_NE(TrayIcon(), nullptr);
    EXPECT_TRUE(TrayIcon()->isVisible()) << "shown, to appear as soon as a tray host runs";
    EXPECT_EQ(TrayIcon()->toolTip(), QStringLiteral("tip"));
    EXPECT_EQ(TrayIcon()->contextMenu(), nullptr) << "Qt must not open a menu of its own";

    data.szTip = QString(80, QLatin1Char('t'));
    data.uFlags = NIF_ICON; // the tip is not part of this change
    EXPECT_TRUE(area.NotifyIcon(NIM_MODIFY, data));
    EXPECT_EQ(TrayIcon()->toolTip(), QStringLiteral("tip"));
    data.uFlags = NIF_TIP;
    EXPECT_TRUE(area.NotifyIcon(NIM_MODIFY, data));
    EXPECT_EQ(TrayIcon()->toolTip(), QString(63, QLatin1Char('t')));

    QSystemTrayIcon* trayIcon = TrayIcon();
    EXPECT_TRUE(area.NotifyIcon(NIM_DELETE, data));
    EXPECT_FALSE(trayIcon->isVisible());
    EXPECT_FALSE(area.NotifyIcon(NIM_DELETE, data));
}

TEST_F(QtNotificationAreaTest, ActivationsArriveAsTheMouseMessagesOfANotificationArea)
{
    ASSERT_TRUE(area.NotifyIcon(NIM_ADD, Record()));
    QSystemTrayIcon* trayIcon = TrayIcon();
    ASSERT_NE(trayIcon, nullptr);
    for (const auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick, QSystemTrayIcon::Context,
                              QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Unknown})
        emit trayIcon->activated(reason);
    EXPECT_EQ(received, std::vector<std::intptr_t>({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_MBUTTONDOWN}));

    // Callbacks go to the window that is there now, and to nowhere once it is gone.
    area.DestroyMessageWindow(window);
    emit trayIcon->activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(received.size(), 4u);
}

TEST_F(QtNotificationAreaTest, FailureOfACallbackIsReportedAndGoesNoFurther)
{
    const WindowHandle failing = area.CreateMessageWindow(
        [](std::uint32_t, std::uintptr_t, std::intptr_t) { throw std::runtime_error("Callback failed"); });
    NotifyIconData data = Record();
    data.hWnd = failing;
    ASSERT_TRUE(area.NotifyIcon(NIM_ADD, data));
    emit area.findChildren<QSystemTrayIcon*>().front()->activated(QSystemTrayIcon::Trigger);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Stackle"));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Callback failed."));
}

} // namespace
