#include "app/FormTest.h"

#include "doubles/Child.h"
#include "doubles/Unprivileged.h"

#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <filesystem>

#include <sys/stat.h>

namespace {

using doubles::Child;

class MainWindowTest : public FormTest {
protected:
    QTabBar* Tabs() const { return Child<QTabBar>(*form, "Tab1"); }
    int Page() const { return Child<QStackedWidget>(*form, "NB1")->currentIndex(); }
    bool Shows(const char* name) const { return Child(*form, name)->isVisibleTo(form.get()); }

    // Ends the run through one of the exit buttons.
    void Exit(const char* button)
    {
        QTest::mouseClick(Child<QPushButton>(*form, button), Qt::LeftButton);
        EXPECT_EQ(host.quits, 1) << "the program was not ended";
        EXPECT_FALSE(form->isVisible());
        form.reset();
    }
};

TEST_F(MainWindowTest, FirstStartWithoutSettingsFile)
{
    TForm1& window = Start();

    EXPECT_EQ(env.settings(), "[Help]\r\nVisible=0\r\n[Format]\r\nStyle=1\r\n");
    EXPECT_EQ(window.geometry(), QRect(394, 0, 236, 104));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Stackle"));
    EXPECT_EQ(window.objectName(), QStringLiteral("Form1"));
    EXPECT_TRUE(window.FirstStart());
    EXPECT_FALSE(window.StartInTray());
    EXPECT_EQ(window.ViewStyle(), 1);
    EXPECT_EQ(window.TabsVisible(), "True");

    QStringList headings;
    for (int i = 0; i < Tabs()->count(); ++i)
        headings << Tabs()->tabText(i);
    EXPECT_EQ(headings, QStringList({"Group1", "Group2", "Group3", "Options"}));
    EXPECT_EQ(Tabs()->currentIndex(), 0);
    EXPECT_EQ(Page(), 0);
    EXPECT_TRUE(Shows("BitBtnHideButtons"));
    EXPECT_FALSE(Shows("BitBtnShowButtons"));
    EXPECT_TRUE(Shows("BitBtnCloseClock"));
    EXPECT_FALSE(Shows("BitBtnExit"));
}

TEST_F(MainWindowTest, SecondStartIsNoFirstStartAndKeepsTheFile)
{
    Start();
    form.reset();
    const std::string before = env.settings();
    EXPECT_FALSE(Start().FirstStart());
    EXPECT_EQ(env.settings(), before);
}

TEST_F(MainWindowTest, DefaultLeftEdgeHalvesScreenAndWindowSeparately)
{
    env.screen.size = QSize(1025, 768);
    EXPECT_EQ(Start().pos(), QPoint(394, 0));
    env.screen.size = QSize(800, 600);
    EXPECT_EQ(Start().pos(), QPoint(282, 0));
}

TEST_F(MainWindowTest, StoredPositionIsUsedAsItIsUnlessTheStripWouldBeLost)
{
    env.write("FILE.INI", "[EXE]\r\nXPos=0x20\r\nYPos=7\r\n");
    EXPECT_EQ(Start().pos(), QPoint(32, 7));
    const std::string lost = "[EXE]\r\nXPos=-500\r\nYPos=2000\r\n";
    env.write("FILE.INI", lost);
    EXPECT_EQ(Start().pos(), QPoint(0, 664));
    EXPECT_NE(env.settings().find(lost), std::string::npos) << "the place was stored";
    env.write("FILE.INI", "[EXE]\r\nXPos=left\r\n");
    EXPECT_EQ(Start().pos(), QPoint(394, 0));
}

TEST_F(MainWindowTest, OnlyExactlyFalseHidesTheTabs)
{
    env.write("FILE.INI", "[TABS]\r\nVisible=false\r\n");
    TForm1& window = Start();
    EXPECT_TRUE(Shows("Tab1"));
    EXPECT_EQ(window.height(), 104);
    // Shown counts as "True" in memory from the style's layout on; the file keeps its text.
    EXPECT_EQ(window.TabsVisible(), "True");
    EXPECT_NE(env.settings().find("Visible=false"), std::string::npos);

    env.write("FILE.INI", "[TABS]\r\nVisible=False\r\n");
    EXPECT_EQ(Start().height(), 86);
    EXPECT_FALSE(Shows("Tab1"));
}

TEST_F(MainWindowTest, StoredHeadingsNameTheTabs)
{
    env.write("FILE.INI", "[TABS]\r\nTab0=Work\r\nTab2=Games = fun\r\n");
    Start();
    EXPECT_EQ(Tabs()->tabText(0), QStringLiteral("Work"));
    EXPECT_EQ(Tabs()->tabText(1), QStringLiteral("Group2"));
    EXPECT_EQ(Tabs()->tabText(2), QStringLiteral("Games = fun"));
    EXPECT_EQ(Tabs()->tabText(3), QStringLiteral("Options"));
}

TEST_F(MainWindowTest, AnAmpersandInAHeadingShowsAsItIs)
{
    env.write("FILE.INI", "[TABS]\r\nTab0=Games & Fun\r\n");
    Start();
    QTabBar* tabs = Tabs();
    const QImage shown = tabs->grab(tabs->tabRect(0)).toImage();
    tabs->setTabText(0, QStringLiteral("Games && Fun"));
    EXPECT_EQ(tabs->grab(tabs->tabRect(0)).toImage(), shown) << "the '&' is taken as a shortcut mark";
}

TEST_F(MainWindowTest, StyleOutsideOneToThreeKeepsTheFormLayoutAndIsNotWritten)
{
    for (const char* style : {"0", "5", "7"}) {
        const std::string stored = std::string("[Format]\r\nStyle=") + style + "\r\n";
        env.write("FILE.INI", stored);
        TForm1& window = Start();
        EXPECT_EQ(env.settings(), stored + "[Help]\r\nVisible=0\r\n") << style;
        EXPECT_EQ(window.height(), 104) << style;
        EXPECT_TRUE(Shows("Tab1"));
        EXPECT_TRUE(Shows("ButtonOptions"));
        EXPECT_FALSE(Shows("BitBtnHideButtons"));
        EXPECT_FALSE(Shows("BitBtnShowButtons"));
    }
}

TEST_F(MainWindowTest, HiddenTabsWithoutAStyleLieBelowTheWindow)
{
    env.write("FILE.INI", "[TABS]\r\nVisible=False\r\n[Format]\r\nStyle=5\r\n");
    TForm1& window = Start();
    EXPECT_EQ(window.height(), 86);
    EXPECT_EQ(Tabs()->y(), 136);
    EXPECT_TRUE(Shows("Tab1"));
}

struct StoredLayout {
    int style;
    const char* tabs;
    int heightAfterStartUp;
    int notebookTop; // -1: notebook hidden
    int tabTop; // -1: tab strip hidden
};

void PrintTo(const StoredLayout& layout, std::ostream* out)
{
    *out << "style " << layout.style << ", tabs " << layout.tabs;
}

class StoredLayoutTest : public MainWindowTest, public ::testing::WithParamInterface<StoredLayout> {};

TEST_P(StoredLayoutTest, StartUpLaysTheWindowOut)
{
    const StoredLayout layout = GetParam();
    env.write("FILE.INI",
              "[TABS]\r\nVisible=" + std::string(layout.tabs) + "\r\n[Format]\r\nStyle=" + std::to_string(layout.style)
                  + "\r\n");
    TForm1& window = Start();
    EXPECT_EQ(window.size(), QSize(236, layout.heightAfterStartUp));
    EXPECT_EQ(Shows("NB1"), layout.notebookTop >= 0);
    if (layout.notebookTop >= 0) {
        EXPECT_EQ(Child(*form, "NB1")->y(), layout.notebookTop);
    }
    EXPECT_EQ(Shows("Tab1"), layout.tabTop >= 0);
    if (layout.tabTop >= 0) {
        EXPECT_EQ(Tabs()->y(), layout.tabTop);
    }
    EXPECT_EQ(Shows("BitBtnHideButtons"), layout.style == 1);
    EXPECT_EQ(Shows("BitBtnShowButtons"), layout.style == 3);
    EXPECT_EQ(Shows("LabelClock"), true);
}

INSTANTIATE_TEST_SUITE_P(EveryStyleAndTabs, StoredLayoutTest,
                         ::testing::Values(StoredLayout{1, "True", 104, 26, 81}, StoredLayout{1, "False", 86, 26, -1},
                                           StoredLayout{2, "True", 82, 4, 59}, StoredLayout{2, "False", 64, 4, -1},
                                           StoredLayout{3, "True", 28, -1, -1}, StoredLayout{3, "False", 28, -1, -1}),
                         [](const auto& layout) {
                             return "Style" + std::to_string(layout.param.style) + "Tabs" + layout.param.tabs;
                         });

TEST_F(MainWindowTest, ViewStyleOperationsSetTheHeightsAndStoreTheStyle)
{
    TForm1& window = Start();
    const struct {
        int style;
        bool hideTabs;
        int height;
    } steps[] = {{1, false, 103}, {2, false, 81}, {3, false, 28}, {1, true, 86}, {2, true, 63}, {3, true, 28}};
    for (const auto& step : steps) {
        window.ApplyTabsHidden(step.hideTabs);
        window.ApplyViewStyle(step.style);
        EXPECT_EQ(window.size(), QSize(236, step.height)) << step.style << step.hideTabs;
        EXPECT_NE(env.settings().find("Style=" + std::to_string(step.style) + "\r\n"), std::string::npos);
    }
}

TEST_F(MainWindowTest, HidingAndShowingTheTabsInEachStyle)
{
    TForm1& window = Start();
    window.ApplyTabsHidden(true);
    EXPECT_EQ(window.height(), 85);
    EXPECT_FALSE(Shows("Tab1"));
    EXPECT_NE(env.settings().find("[TABS]\r\nVisible=False\r\n"), std::string::npos);
    window.ApplyTabsHidden(false);
    EXPECT_EQ(window.height(), 103);
    EXPECT_EQ(Tabs()->y(), 81);
    EXPECT_NE(env.settings().find("[TABS]\r\nVisible=True\r\n"), std::string::npos);

    window.ApplyViewStyle(2);
    window.ApplyTabsHidden(true);
    EXPECT_EQ(window.height(), 63);
    window.ApplyTabsHidden(false);
    EXPECT_EQ(window.height(), 81);
    EXPECT_EQ(Tabs()->y(), 59);

    // In the clock-only style the choice is stored and waits for the next style switch.
    window.ApplyViewStyle(3);
    window.ApplyTabsHidden(true);
    EXPECT_EQ(window.height(), 28);
    EXPECT_EQ(window.TabsVisible(), "False");
    window.ApplyViewStyle(1);
    EXPECT_EQ(window.height(), 86);
    EXPECT_FALSE(Shows("Tab1"));
}

TEST_F(MainWindowTest, StylesShowTheirOwnExitAndMinimizeButtons)
{
    TForm1& window = Start();
    window.ApplyViewStyle(2);
    for (const char* name : {"BitBtnExit", "ButtonMinimize"})
        EXPECT_TRUE(Shows(name)) << name;
    for (const char* name : {"BitBtnCloseClock", "ButtonMinSmall", "ButtonOptions", "PanelPostIt"})
        EXPECT_FALSE(Shows(name)) << name;
    window.ApplyViewStyle(3);
    for (const char* name : {"BitBtnCloseClock", "ButtonMinSmall", "ButtonOptions", "PanelPostIt", "BitBtnShowButtons"})
        EXPECT_TRUE(Shows(name)) << name;
    for (const char* name : {"NB1", "PanelControls", "Tab1", "BitBtnHideButtons"})
        EXPECT_FALSE(Shows(name)) << name;
}

TEST_F(MainWindowTest, ReapplyingAStyleReturnsToTheFirstGroup)
{
    TForm1& window = Start();
    Tabs()->setCurrentIndex(2);
    EXPECT_EQ(Page(), 2);
    window.ApplyViewStyle(1);
    EXPECT_EQ(Tabs()->currentIndex(), 0);
    EXPECT_EQ(Page(), 0);
}

TEST_F(MainWindowTest, ShrinkAndExpandButtonsSwitchStylesAndStoreThem)
{
    TForm1& window = Start();
    QTest::mouseClick(Child<QPushButton>(*form, "BitBtnHideButtons"), Qt::LeftButton);
    EXPECT_EQ(window.ViewStyle(), 3);
    EXPECT_EQ(window.height(), 28);
    EXPECT_TRUE(Shows("BitBtnShowButtons"));
    EXPECT_FALSE(Shows("BitBtnHideButtons"));
    EXPECT_EQ(env.settings(), "[Help]\r\nVisible=0\r\n[Format]\r\nStyle=3\r\n");

    QTest::mouseClick(Child<QPushButton>(*form, "BitBtnShowButtons"), Qt::LeftButton);
    EXPECT_EQ(window.ViewStyle(), 1);
    EXPECT_EQ(window.height(), 103);
    EXPECT_FALSE(Shows("BitBtnShowButtons"));
    EXPECT_TRUE(Shows("BitBtnHideButtons"));
    EXPECT_EQ(env.settings(), "[Help]\r\nVisible=0\r\n[Format]\r\nStyle=1\r\n");
}

TEST_F(MainWindowTest, ArrowsStepThroughTheTabsWithoutWrapping)
{
    Start();
    auto* up = Child<QToolButton>(*form, "SpeedButton2");
    auto* down = Child<QToolButton>(*form, "SpeedButton1");
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(Tabs()->currentIndex(), 0);
    for (int expected : {1, 2, 3, 3}) {
        QTest::mouseClick(up, Qt::LeftButton);
        EXPECT_EQ(Tabs()->currentIndex(), expected);
        EXPECT_EQ(Page(), expected);
    }
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(Page(), 2);
}

TEST_F(MainWindowTest, ArrowsStillStepWithTheTabsHidden)
{
    env.write("FILE.INI", "[TABS]\r\nVisible=False\r\n");
    Start();
    QTest::mouseClick(Child<QToolButton>(*form, "SpeedButton2"), Qt::LeftButton);
    EXPECT_EQ(Page(), 1);
}

TEST_F(MainWindowTest, ClickingATabShowsItsPage)
{
    Start();
    QTabBar* tabs = Tabs();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    EXPECT_EQ(Page(), 2);
}

TEST_F(MainWindowTest, ClockTicksEverySecond)
{
    Start();
    auto* clock = Child<QLabel>(*form, "LabelClock");
    auto* timer = Child<QTimer>(*form, "Timer1");
    EXPECT_TRUE(clock->text().isEmpty());
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 1000);
    QMetaObject::invokeMethod(timer, "timeout");
    EXPECT_EQ(clock->text(), QStringLiteral("Dec 6  1:05 "));
    env.clock.time = QDateTime(QDate(2026, 12, 7), QTime(0, 30));
    QMetaObject::invokeMethod(timer, "timeout");
    EXPECT_EQ(clock->text(), QStringLiteral("Dec 7  12:30 "));
}

TEST_F(MainWindowTest, DraggingABarePartMovesTheWindowAndStoresNothing)
{
    TForm1& window = Start();
    const std::string before = env.settings();
    const QPoint start = window.pos();
    auto* clock = Child<QLabel>(*form, "LabelClock");
    clock->setText(QStringLiteral("Dec 6  1:05 "));
    clock->adjustSize();
    QTest::mousePress(clock, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(clock, QPoint(35, 25));
    QTest::mouseRelease(clock, Qt::LeftButton, {}, QPoint(35, 25));
    EXPECT_EQ(window.pos(), start + QPoint(30, 20));
    EXPECT_EQ(env.settings(), before);
}

TEST_F(MainWindowTest, PressingOnTheNotebookDoesNotDrag)
{
    TForm1& window = Start();
    const QPoint start = window.pos();
    QWidget* page = Child(*form, "PageGroup1");
    QTest::mousePress(page, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(page, QPoint(35, 25));
    QTest::mouseRelease(page, Qt::LeftButton, {}, QPoint(35, 25));
    EXPECT_EQ(window.pos(), start);
}

TEST_F(MainWindowTest, ClockRowExitStoresThePosition)
{
    Start().move(100, 50);
    Exit("BitBtnCloseClock");
    EXPECT_EQ(env.settings(), "[Help]\r\nVisible=0\r\n[Format]\r\nStyle=1\r\n[EXE]\r\nXPos=100\r\nYPos=50\r\n");
    EXPECT_EQ(Start().pos(), QPoint(100, 50));

    // Where the platform cannot tell the strip's place (natively on Wayland), the stored one stays.
    env.windowManager.knowsPlaces = false;
    host.quits = 0;
    Start().move(0, 0);
    Exit("BitBtnCloseClock");
    EXPECT_EQ(env.settings(), "[Help]\r\nVisible=0\r\n[Format]\r\nStyle=1\r\n[EXE]\r\nXPos=100\r\nYPos=50\r\n");
}

TEST_F(MainWindowTest, TheOtherExitLeavesThePositionAsStored)
{
    env.write("FILE.INI", "[EXE]\r\nXPos=10\r\nYPos=20\r\n[Format]\r\nStyle=2\r\n");
    Start().move(300, 300);
    const std::string before = env.settings();
    Exit("BitBtnExit");
    EXPECT_EQ(env.settings(), before);
}

TEST_F(MainWindowTest, MinimizeButtonMinimizesTheStrip)
{
    TForm1& window = Start();
    QTest::mouseClick(Child<QPushButton>(*form, "ButtonMinSmall"), Qt::LeftButton);
    EXPECT_TRUE(window.isMinimized());
}

TEST_F(MainWindowTest, StartingInTheTrayDoesNotShowTheStrip)
{
    env.write("FILE.INI", "[Tray]\r\nDefault=1\r\n");
    TForm1& window = Start();
    EXPECT_TRUE(window.StartInTray());
    EXPECT_TRUE(window.isMinimized());
}

// Named pipes where the settings file and a list are expected are never read, so nothing waits
// for a writer that never comes (the test runner's time limit would end this test), and nothing
// replaces them.
TEST_F(MainWindowTest, NamedPipesAsSettingsAndListsAreUnreadable)
{
    for (const char* name : {"FILE.INI", "flist1.dll"})
        ASSERT_EQ(mkfifo(env.path(name).c_str(), 0600), 0) << name;
    TForm1& window = Start();
    EXPECT_EQ(window.geometry(), QRect(394, 0, 236, 104));
    EXPECT_TRUE(window.FirstStart());
    EXPECT_EQ(form->SlotCommands().FilledMenu(1)->actions().size(), 5);
    EXPECT_TRUE(std::filesystem::is_fifo(env.path("FILE.INI")));
    EXPECT_TRUE(env.dialogs.messages.empty());
}

// What the desktop offers decides how the strip leaves the screen, and whatever it does, the
// strip can always come back: iconified where a window manager runs, hidden where only the tray
// icon can bring it back, and left shown where neither could.
struct DesktopCase {
    bool canIconify;
    bool trayIconShown;
    bool minimized; // afterwards
    bool visible;
};

std::ostream& operator<<(std::ostream& out, const DesktopCase& desktop)
{
    return out << "window manager " << desktop.canIconify << ", tray " << desktop.trayIconShown;
}

TEST_F(MainWindowTest, MinimizeButtonLeavesAWayBackAndTheTrayIconBringsTheStripBackInPlace)
{
    for (const DesktopCase& desktop :
         {DesktopCase{true, true, true, true}, DesktopCase{true, false, true, true},
          DesktopCase{false, true, false, false}, DesktopCase{false, false, false, true}}) {
        SCOPED_TRACE(testing::Message() << desktop);
        env.windowManager.canIconify = desktop.canIconify;
        host.trayIconShown = desktop.trayIconShown;
        TForm1& window = Start();
        window.move(120, 340);
        QTest::mouseClick(Child<QPushButton>(*form, "ButtonMinSmall"), Qt::LeftButton);
        EXPECT_EQ(window.isMinimized(), desktop.minimized);
        EXPECT_EQ(window.isVisible(), desktop.visible);

        window.TrayIconClick();
        EXPECT_TRUE(window.isVisible());
        EXPECT_FALSE(window.isMinimized());
        EXPECT_EQ(window.pos(), QPoint(120, 340));
    }
}

TEST_F(MainWindowTest, StartingInTheTrayNeedsATrayToComeBackFrom)
{
    env.write("FILE.INI", "[Tray]\r\nDefault=1\r\n[EXE]\r\nXPos=50\r\nYPos=60\r\n");
    // Without a tray icon to click the strip is shown as if it had not started in the tray.
    for (const DesktopCase& desktop :
         {DesktopCase{true, true, true, true}, DesktopCase{true, false, false, true},
          DesktopCase{false, true, false, false}, DesktopCase{false, false, false, true}}) {
        SCOPED_TRACE(testing::Message() << desktop);
        env.windowManager.canIconify = desktop.canIconify;
        host.trayIconShown = desktop.trayIconShown;
        TForm1& window = Start();
        EXPECT_TRUE(window.StartInTray());
        EXPECT_EQ(window.isMinimized(), desktop.minimized);
        EXPECT_EQ(window.isVisible(), desktop.visible);
        window.TrayIconClick();
        EXPECT_TRUE(window.isVisible());
        EXPECT_FALSE(window.isMinimized());
        EXPECT_EQ(window.pos(), QPoint(50, 60));
    }
}

TEST_F(MainWindowTest, ReadOnlySettingsFileGivesNoMessageAndTheRunGoesOn)
{
    const std::string stored = "[Format]\r\nStyle=2\r\n[TABS]\r\nVisible=False\r\n[Help]\r\nVisible=1\r\n";
    env.write("FILE.INI", stored);
    namespace fs = std::filesystem;
    fs::permissions(env.directory(),
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read
                        | fs::perms::others_exec);
    fs::permissions(env.path("FILE.INI"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    const int failures = doubles::RunUnprivileged([&] {
        TForm1 window(env.platform(), store, host);
        window.FormCreate();
        const bool started = window.ViewStyle() == 2 && window.height() == 64 && window.FirstStart();
        window.ApplyViewStyle(1);
        window.ApplyTabsHidden(false);
        return started && window.height() == 103 && env.dialogs.messages.empty() ? 0 : 1;
    });

    EXPECT_EQ(failures, 0);
    EXPECT_EQ(env.settings(), stored);
    EXPECT_EQ(std::distance(fs::directory_iterator(env.directory()), fs::directory_iterator()), 1);
}

TEST_F(MainWindowTest, YellowNAsksForTheNotesWindow)
{
    Start();
    QTest::mouseClick(Child<QLabel>(*form, "PanelPostIt"), Qt::LeftButton);
    EXPECT_EQ(host.notesShown, 1);
    EXPECT_EQ(host.quits, 0);
}

} // namespace
