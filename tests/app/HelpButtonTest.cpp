#include "app/FormTest.h"
#include "app/Stackle.h"

#include "doubles/FakeTray.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

class HelpButtonTest : public FormTest {
protected:
    void PressHelp(TForm1& strip)
    {
        QTest::mouseClick(strip.findChild<QToolButton*>("SpeedButtonHelp"), Qt::LeftButton);
    }
};

// The first start opens the help by itself, its top one pixel below the strip's final bottom
// edge, also when the strip's place and height differ from the form's.
TEST_F(HelpButtonTest, FirstStartOpensTheHelpBelowTheStrip)
{
    const char* files[] = {
        "", // 104 high at the top of the screen
        "[EXE]\r\nYPos=300\r\n[Format]\r\nStyle=3\r\n", // the clock row only, further down
        "[TABS]\r\nVisible=False\r\n[EXE]\r\nYPos=-20\r\n", // no tabs, partly off the screen
    };
    for (const char* stored : files) {
        SCOPED_TRACE(stored);
        env.write("FILE.INI", stored);
        host.helpWindows = 0;
        TForm1& strip = Start();
        ASSERT_EQ(host.helpWindows, 1);
        EXPECT_EQ(host.help->y(), strip.y() + strip.height() + 1);
        if (!*stored) {
            EXPECT_EQ(host.help->y(), 105);
        }

        // Once is enough: the next start opens none, and "?" opens one each time.
        Start();
        EXPECT_EQ(host.helpWindows, 1);
        PressHelp(*form);
        PressHelp(*form);
        EXPECT_EQ(host.helpWindows, 3);
    }
}

// The help window stays whole on the strip's screen: one pixel below the strip where it fits,
// otherwise one pixel above it. Under a window manager that goes for its frame, title bar and
// all, once the frame is known, and the frame is centred across the screen.
TEST_F(HelpButtonTest, FirstStartHelpWindowGoesBesideTheStripByItsFrame)
{
    for (const QMargins frame : {QMargins(), QMargins(3, 20, 3, 4)}) {
        env.windowManager.frame = frame;
        for (const bool below : {true, false}) {
            SCOPED_TRACE(testing::Message() << "frame top " << frame.top() << (below ? ", below" : ", above"));
            env.write("FILE.INI", below ? "" : "[EXE]\r\nYPos=600\r\n");
            const TForm1& strip = Start();
            // Placed by itself, the window is placed by its top-left corner (pos), which Qt takes for
            // the frame's when it knows of one.
            const QRect outer =
                frame.isNull() ? QRect(host.help->pos(), host.help->size()) : host.help->geometry().marginsAdded(frame);
            if (below) {
                EXPECT_EQ(outer.top(), strip.y() + strip.height() + 1);
            } else {
                EXPECT_EQ(outer.bottom(), strip.y() - 2);
            }
            if (!frame.isNull()) {
                EXPECT_EQ(outer.left(), (1024 - outer.width()) / 2);
            }
        }
    }
}

// A window manager may move the strip as it shows it, below a panel along the top of the screen,
// say: the help of the first start goes below the strip where it is then drawn, frame and all.
TEST_F(HelpButtonTest, FirstStartHelpFollowsTheStripWhereTheWindowManagerShowsIt)
{
    static constexpr int PanelHeight = 27;
    struct PanelAtTheTop final : QObject {
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (auto* strip = qobject_cast<TForm1*>(watched); strip && event->type() == QEvent::Show)
                strip->move(strip->x(), std::max(strip->y(), PanelHeight));
            return false;
        }
    } manager;
    qApp->installEventFilter(&manager);
    env.windowManager.frame = QMargins(5, 29, 5, 5);
    TForm1& strip = Start();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&strip));
    qApp->removeEventFilter(&manager);
    EXPECT_EQ(strip.y(), PanelHeight);
    EXPECT_TRUE(QTest::qWaitFor([&] { return host.help->geometry().top() - 29 == PanelHeight + strip.height() + 1; }))
        << "the help's frame begins at " << host.help->geometry().top() - 29;
}

std::vector<QWidget*> HelpWindows()
{
    std::vector<QWidget*> found;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QStringLiteral("FormHelp"))
            found.push_back(window);
    return found;
}

// With the real program around the strip: each press of "?" replaces the help window, so that
// exactly one is left, and closing it leaves the strip as it was.
TEST_F(HelpButtonTest, PressingHelpAgainLeavesExactlyOneHelpWindow)
{
    doubles::TestTray tray;
    TStackle stackle(env.platform(), tray.trayPlatform());
    ASSERT_EQ(HelpWindows().size(), 1u) << "the first start opens the help";
    QWidget* first = HelpWindows().front();
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->y(), stackle.Strip().y() + stackle.Strip().height() + 1);

    QTest::mouseClick(first->findChild<QPushButton*>("Button2"), Qt::LeftButton);
    EXPECT_FALSE(first->isVisible());
    EXPECT_TRUE(stackle.Strip().isVisible());
    ASSERT_EQ(HelpWindows().size(), 1u) << "a closed help window stays until the next press";

    PressHelp(stackle.Strip());
    PressHelp(stackle.Strip());
    const std::vector<QWidget*> windows = HelpWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_TRUE(windows.front()->isVisible());
    EXPECT_EQ(windows.front()->windowTitle(), QStringLiteral("Help"));
    EXPECT_TRUE(stackle.Strip().isVisible());
}

} // namespace
