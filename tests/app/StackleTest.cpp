#include "app/Stackle.h"
#include "app/Main.h"
#include "tray/KyTray95.h"

#include "doubles/FakePlatform.h"
#include "doubles/FakeTray.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// Notes when a widget is drawn.
class PaintSeen final : public QObject {
public:
    explicit PaintSeen(QWidget& widget) { widget.installEventFilter(this); }
    bool seen = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        seen = seen || event->type() == QEvent::Paint;
        return false;
    }
};

// The whole program on doubles: the strip with its tray icon, the icon's notification area and
// its timers.
class StackleTest : public ::testing::Test {
protected:
    doubles::TestPlatform env;
    doubles::TestTray tray;
    std::unique_ptr<TStackle> stackle;

    // Starts the program and lets it run until its strip, when it shows, has been drawn on
    // screen, as a desktop would.
    TStackle& Start()
    {
        stackle = std::make_unique<TStackle>(env.platform(), tray.trayPlatform());
        TForm1& strip = stackle->Strip();
        if (strip.isVisible()) {
            PaintSeen painted(strip);
            for (int i = 0; i < 100 && !painted.seen; ++i)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            EXPECT_TRUE(painted.seen) << "the strip was never drawn";
        }
        QCoreApplication::processEvents();
        return *stackle;
    }
    // Presses on the icon, then lets the double-click time pass.
    void OnIcon(std::initializer_list<std::intptr_t> presses)
    {
        for (const std::intptr_t press : presses)
            tray.area.Send(stackle->TrayIcon().MsgWindow().Handle(), press);
        tray.timers.Advance(tray.area.doubleClickTime);
    }
    bool StripShown() { return stackle->Strip().isVisible() && !stackle->Strip().isMinimized(); }
};

TEST_F(StackleTest, IconStaysInTheNotificationAreaForTheWholeRun)
{
    Start();
    ASSERT_EQ(tray.area.calls.size(), 1u) << "activating again at the end of start-up changes nothing";
    const platform::NotifyIconData& added = tray.area.calls[0].data;
    EXPECT_EQ(tray.area.calls[0].message, platform::NIM_ADD);
    EXPECT_FALSE(added.hIcon.isNull()) << "the program's own icon";
    EXPECT_TRUE(added.szTip.isEmpty());

    stackle->Strip().ButtonMinSmallClick();
    OnIcon({platform::WM_LBUTTONDOWN});
    EXPECT_EQ(tray.area.calls.size(), 1u);

    stackle.reset();
    ASSERT_EQ(tray.area.calls.size(), 2u);
    EXPECT_EQ(tray.area.calls[1].message, platform::NIM_DELETE);
}

// A strip the desktop never draws (on another workspace, under another window) does not keep
// the icon out of the notification area: it joins within moments all the same.
TEST_F(StackleTest, IconJoinsAlsoWhenTheStripIsNeverDrawn)
{
    env.write("FILE.INI", "[Help]\r\nVisible=0\r\n");
    // Ahead of every filter of the strip's own.
    struct NoStripPaint final : QObject {
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            return event->type() == QEvent::Paint && qobject_cast<TForm1*>(watched);
        }
    } noStripPaint;
    qApp->installEventFilter(&noStripPaint);
    stackle = std::make_unique<TStackle>(env.platform(), tray.trayPlatform());
    ASSERT_TRUE(stackle->Strip().isVisible());
    EXPECT_TRUE(QTest::qWaitFor([this] { return tray.area.Count(platform::NIM_ADD) == 1; }, 3000));
    qApp->removeEventFilter(&noStripPaint);
}

TEST_F(StackleTest, StartedInTheTrayTheStripComesBackOnAClickOrADoubleClick)
{
    env.write("FILE.INI", "[Tray]\r\nDefault=1\r\n");
    for (const auto& presses : {std::initializer_list<std::intptr_t>{platform::WM_LBUTTONDOWN},
                                {platform::WM_LBUTTONDOWN, platform::WM_LBUTTONDBLCLK}}) {
        Start();
        EXPECT_FALSE(StripShown());
        OnIcon(presses);
        EXPECT_TRUE(StripShown());
        stackle.reset();
    }
}

TEST_F(StackleTest, StartedInTheTrayWithoutATrayHostTheStripIsShown)
{
    env.write("FILE.INI", "[Tray]\r\nDefault=1\r\n");
    tray.area.iconShown = false;
    Start();
    EXPECT_TRUE(StripShown());
    EXPECT_EQ(tray.area.Count(platform::NIM_ADD), 1u) << "the icon waits for a tray host to come";
}

TEST_F(StackleTest, RightClickOpensPopupTrayWhoseExitEndsTheRun)
{
    Start();
    tray.area.cursor = QPoint(200, 150);
    OnIcon({platform::WM_RBUTTONDOWN});

    QMenu& menu = stackle->PopupTray();
    ASSERT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.pos(), QPoint(200, 150));
    const QList<QAction*> items = menu.actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), QStringLiteral("Stackle"));
    EXPECT_FALSE(items[0]->isEnabled());
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->text(), QStringLiteral("E&xit"));
    EXPECT_EQ(items[2]->objectName(), QStringLiteral("Exit1"));

    items[2]->trigger();
    menu.hide();
    EXPECT_FALSE(stackle->Strip().isVisible());
}

// A start-up that fails part way is reported and skips its remaining steps; the strip still
// shows, since it had not reached the notification area yet.
TEST_F(StackleTest, FailedStartUpStillLeavesTheStripOnScreen)
{
    env.screen.failure = "No screen";
    for (const std::string stored : {"[Help]\r\nVisible=0\r\n", "[Help]\r\nVisible=0\r\n[Tray]\r\nDefault=1\r\n"}) {
        env.write("FILE.INI", stored);
        Start();
        EXPECT_TRUE(StripShown()) << stored;
        ASSERT_EQ(env.dialogs.messages.size(), 1u);
        EXPECT_EQ(env.dialogs.messages[0].text, QStringLiteral("No screen."));
        env.dialogs.messages.clear();
        stackle.reset();
    }
}

// A modal window minimised from its title bar leaves the strip taking no input; a press on the
// blocked strip brings the modal window back, restored and on top.
TEST_F(StackleTest, PressOnTheBlockedStripBringsAMinimisedModalWindowBack)
{
    env.write("FILE.INI", "[Help]\r\nVisible=0\r\n");
    Start();
    for (void (TStackle::*open)() : {&TStackle::ShowOptions, &TStackle::ShowNotes}) {
        bool minimised = false, restored = false;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            modal->showMinimized();
            minimised = modal->isMinimized();
            env.windowManager.PressBlockedWindow();
            restored = modal->isVisible() && !modal->isMinimized();
            modal->close();
        });
        (stackle.get()->*open)();
        EXPECT_TRUE(minimised);
        EXPECT_TRUE(restored);
    }
}

// "-" takes the help window off the screen along with the strip, and bringing the strip back
// brings the help window back too.
TEST_F(StackleTest, HelpWindowLeavesAndComesBackWithTheStrip)
{
    for (const bool iconify : {true, false}) {
        env.windowManager.canIconify = iconify;
        env.write("FILE.INI", "");
        Start();
        QWidget* help = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == QStringLiteral("FormHelp"))
                help = window;
        ASSERT_NE(help, nullptr);
        ASSERT_TRUE(help->isVisible());
        stackle->Strip().ButtonMinSmallClick();
        EXPECT_FALSE(StripShown());
        EXPECT_FALSE(help->isVisible()) << "iconify " << iconify;
        OnIcon({platform::WM_LBUTTONDOWN});
        EXPECT_TRUE(StripShown());
        EXPECT_TRUE(help->isVisible()) << "iconify " << iconify;
        stackle.reset();
    }
}

// What writes killed in an earlier run left beside the program goes at the next start; the
// user's own files stay.
TEST_F(StackleTest, StartUpRemovesWhatKilledWritesLeftBehind)
{
    env.write("FILE.INI", "[Help]\r\nVisible=0\r\n");
    env.write("FILE.INI.stackle-x1Y2z3", "[Help]\r\nVisible=0\r\n");
    env.write("note3.dat.stackle-abcdef", "a note");
    env.write("FILE.INI.bak", "mine");
    Start();
    EXPECT_TRUE(StripShown());
    EXPECT_FALSE(env.read("FILE.INI.stackle-x1Y2z3"));
    EXPECT_FALSE(env.read("note3.dat.stackle-abcdef"));
    EXPECT_EQ(env.read("FILE.INI.bak"), "mine");
}

// Toggle is "-" while the strip is on screen, with its rule that a strip nothing could bring
// back stays; otherwise it brings the strip back.
TEST_F(StackleTest, ToggleHidesOnlyWhereTheStripCanComeBack)
{
    env.write("FILE.INI", "[Help]\r\nVisible=0\r\n");
    for (const bool iconify : {true, false}) {
        env.windowManager.canIconify = iconify;
        Start();
        stackle->RunCommand({TStripCommand::Kind::Toggle});
        EXPECT_FALSE(StripShown()) << iconify;
        stackle->RunCommand({TStripCommand::Kind::Toggle});
        EXPECT_TRUE(StripShown()) << iconify;
        stackle.reset();
    }
    env.windowManager.canIconify = false;
    tray.area.iconShown = false;
    Start();
    stackle->RunCommand({TStripCommand::Kind::Toggle});
    EXPECT_TRUE(StripShown()) << "neither a window manager nor a tray to come back from";
}

// While a modal window is open a command only brings it back, and the strip when asked for: a
// start from a slot could change the slot the open window works on.
TEST_F(StackleTest, CommandsWhileAModalWindowIsOpenOnlyBringItBack)
{
    env.write("FILE.INI", "[Help]\r\nVisible=0\r\n[EXE]\r\nEXE1=/tools/one\r\n");
    Start();
    using Kind = TStripCommand::Kind;
    QWidget* notes = nullptr;
    int page = -1;
    QTimer::singleShot(0, [&] {
        notes = QApplication::activeModalWidget();
        ASSERT_NE(notes, nullptr);
        notes->showMinimized();
        for (const TStripCommand command :
             {TStripCommand{Kind::Launch, 1}, {Kind::LaunchAll, 1}, {Kind::Group, 2}, {Kind::Notes}})
            stackle->RunCommand(command);
        page = stackle->Strip().PageOnView();
        EXPECT_EQ(QApplication::activeModalWidget(), notes) << "no second notes window";
        EXPECT_FALSE(notes->isMinimized());
        notes->close();
    });
    stackle->RunCommand({Kind::Notes});
    EXPECT_NE(notes, nullptr);
    EXPECT_EQ(page, 0);
    EXPECT_TRUE(env.shell.starts.empty());
}

} // namespace
