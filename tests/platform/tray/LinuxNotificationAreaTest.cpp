#include "platform/tray/LinuxNotificationArea.h"

#include "doubles/FakePlatform.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include <stdexcept>
#include <vector>

namespace {

using namespace platform;
using namespace std::chrono_literals;

// One kind of tray host with one icon in it, as a test makes it come, go and take the icon in.
class FakeView final : public TrayIconView {
public:
    QIcon icon;
    QString tip;
    QMenu* menu = nullptr;
    bool wanted = false; // between Show and Hide
    bool hostAvailable = false;
    bool shown = false;
    bool hostPending = false;
    const FakeView* other = nullptr; // the icon's view in the other kind of host

    void SetIcon(const QIcon& newIcon) override { icon = newIcon; }
    void SetToolTip(const QString& newTip) override { tip = newTip; }
    void SetMenu(QMenu* newMenu) override { menu = newMenu; }
    void Show() override
    {
        EXPECT_FALSE(other->wanted) << "the icon would be in both kinds of host";
        wanted = true;
    }
    void Hide() override { wanted = shown = false; }
    bool Shown() const override { return shown; }
    bool HostAvailable() const override { return hostAvailable; }
    bool HostPending() const override { return hostPending; }

    // A host of this kind starts, restarts (the icon is out until it takes it in again) or ends.
    void Host(bool available)
    {
        hostAvailable = available;
        shown = false;
        emit HostChanged();
    }
    void TakeIn()
    {
        shown = wanted && hostAvailable;
        emit HostChanged();
    }
};

class LinuxNotificationAreaTest : public ::testing::Test {
protected:
    struct Views {
        QPointer<FakeView> statusNotifier;
        QPointer<FakeView> xembed;
    };
    std::vector<Views> made; // the views of every icon added, in order
    bool statusNotifierHost = false; // what the views of the next icon find
    bool xembedHost = true;
    doubles::ScriptedDialogs dialogs;
    LinuxNotificationArea area{dialogs, [this] {
                                   auto statusNotifier = std::make_unique<FakeView>();
                                   auto xembed = std::make_unique<FakeView>();
                                   statusNotifier->other = xembed.get();
                                   xembed->other = statusNotifier.get();
                                   statusNotifier->hostAvailable = statusNotifierHost;
                                   xembed->hostAvailable = xembedHost;
                                   made.push_back({statusNotifier.get(), xembed.get()});
                                   return TrayIconViews{std::move(statusNotifier), std::move(xembed)};
                               }};
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
    bool Shown(std::chrono::milliseconds patience = 0ms) { return area.IconShown(window, 42, patience); }
};

TEST_F(LinuxNotificationAreaTest, IconIsAddedOnceChangedAndRemovedInBothKindsOfHost)
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
    ASSERT_EQ(made.size(), 1u);
    const Views views = made[0];
    QMenu menu;
    area.SetIconMenu(window, 42, &menu);
    for (const FakeView* view : {views.statusNotifier.data(), views.xembed.data()}) {
        EXPECT_EQ(view->tip, QStringLiteral("tip"));
        EXPECT_FALSE(view->icon.isNull());
        EXPECT_EQ(view->menu, &menu);
    }

    data.szTip = QString(80, QLatin1Char('t'));
    data.uFlags = NIF_ICON; // the tip is not part of this change
    EXPECT_TRUE(area.NotifyIcon(NIM_MODIFY, data));
    EXPECT_EQ(views.xembed->tip, QStringLiteral("tip"));
    data.uFlags = NIF_TIP;
    EXPECT_TRUE(area.NotifyIcon(NIM_MODIFY, data));
    EXPECT_EQ(views.statusNotifier->tip, QString(63, QLatin1Char('t')));
    EXPECT_EQ(views.xembed->tip, QString(63, QLatin1Char('t')));

    EXPECT_TRUE(views.xembed->wanted);
    EXPECT_TRUE(area.NotifyIcon(NIM_DELETE, data));
    EXPECT_FALSE(views.xembed->wanted);
    EXPECT_FALSE(area.NotifyIcon(NIM_DELETE, data));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(views.statusNotifier.isNull() && views.xembed.isNull()) << "the views go with their icon";
}

// The icon is in a status-notifier host whenever one is there, in the XEmbed tray otherwise,
// never in both (FakeView::Show checks), and counts as shown only while a host holds it.
TEST_F(LinuxNotificationAreaTest, IconMovesBetweenTheKindsOfHostAsTheyComeAndGo)
{
    ASSERT_TRUE(area.NotifyIcon(NIM_ADD, Record()));
    const Views views = made[0];
    EXPECT_TRUE(views.xembed->wanted);
    EXPECT_FALSE(views.statusNotifier->wanted);
    EXPECT_FALSE(Shown()) << "not yet docked";
    views.xembed->TakeIn();
    EXPECT_TRUE(Shown());

    views.statusNotifier->Host(true);
    EXPECT_TRUE(views.statusNotifier->wanted);
    EXPECT_FALSE(views.xembed->wanted);
    EXPECT_FALSE(Shown()) << "out of the XEmbed tray, not yet registered";
    views.statusNotifier->TakeIn();
    EXPECT_TRUE(Shown());

    views.statusNotifier->Host(true); // the watcher restarted: the icon is out until registered again
    EXPECT_TRUE(views.statusNotifier->wanted);
    EXPECT_FALSE(Shown());
    views.statusNotifier->TakeIn();
    EXPECT_TRUE(Shown());

    views.statusNotifier->Host(false);
    EXPECT_FALSE(views.statusNotifier->wanted);
    EXPECT_TRUE(views.xembed->wanted);
    views.xembed->Host(false); // and the XEmbed tray goes too: the icon is nowhere, and waits
    EXPECT_TRUE(views.xembed->wanted);
    EXPECT_FALSE(Shown());
    views.xembed->Host(true);
    views.xembed->TakeIn();
    EXPECT_TRUE(Shown());

    // An icon added while a status-notifier host is there goes straight into it.
    statusNotifierHost = true;
    NotifyIconData second = Record();
    second.uID = 43;
    ASSERT_TRUE(area.NotifyIcon(NIM_ADD, second));
    EXPECT_TRUE(made[1].statusNotifier->wanted);
    EXPECT_FALSE(made[1].xembed->wanted);
}

TEST_F(LinuxNotificationAreaTest, IconOnItsWayIntoAHostIsWaitedForWithinThePatienceGiven)
{
    statusNotifierHost = true;
    ASSERT_TRUE(area.NotifyIcon(NIM_ADD, Record()));
    const Views views = made[0];
    QTimer::singleShot(50ms, views.statusNotifier.data(), &FakeView::TakeIn);
    EXPECT_FALSE(Shown(0ms));
    EXPECT_TRUE(Shown(5s));

    // With no host of the kind the icon is in there is nothing to wait for.
    views.statusNotifier->Host(false);
    views.xembed->Host(false);
    QElapsedTimer waited;
    waited.start();
    EXPECT_FALSE(Shown(5s));
    EXPECT_LT(waited.elapsed(), 1000);

    // A host that never takes the icon in is given up on.
    views.xembed->Host(true);
    waited.restart();
    EXPECT_FALSE(Shown(200ms));
    EXPECT_GE(waited.elapsed(), 200);

    // Nor is there one, but a status-notifier host is still being looked for: it may take the icon.
    views.xembed->Host(false);
    views.statusNotifier->hostPending = true;
    QTimer::singleShot(50ms, views.statusNotifier.data(), [view = views.statusNotifier] {
        view->hostPending = false;
        view->Host(true);
        view->TakeIn();
    });
    EXPECT_TRUE(Shown(5s));
}

TEST_F(LinuxNotificationAreaTest, PressesInEitherHostArriveAsTheMouseMessagesOfANotificationArea)
{
    ASSERT_TRUE(area.NotifyIcon(NIM_ADD, Record()));
    emit made[0].xembed->Pressed(WM_LBUTTONDBLCLK);
    emit made[0].statusNotifier->Pressed(WM_RBUTTONDOWN);
    EXPECT_EQ(received, std::vector<std::intptr_t>({WM_LBUTTONDBLCLK, WM_RBUTTONDOWN}));

    // Callbacks go to the window that is there now, and to nowhere once it is gone.
    area.DestroyMessageWindow(window);
    emit made[0].statusNotifier->Pressed(WM_LBUTTONDOWN);
    EXPECT_EQ(received.size(), 2u);
}

TEST_F(LinuxNotificationAreaTest, FailureOfACallbackIsReportedAndGoesNoFurther)
{
    const WindowHandle failing = area.CreateMessageWindow(
        [](std::uint32_t, std::uintptr_t, std::intptr_t) { throw std::runtime_error("Callback failed"); });
    NotifyIconData data = Record();
    data.hWnd = failing;
    ASSERT_TRUE(area.NotifyIcon(NIM_ADD, data));
    emit made[0].statusNotifier->Pressed(WM_LBUTTONDOWN);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Stackle"));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Callback failed."));
}

} // namespace
