#include "options/Options.h"
#include "app/FormTest.h"
#include "app/Stackle.h"

#include "doubles/Child.h"
#include "doubles/FakeTray.h"
#include "doubles/Unprivileged.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>

namespace {

using doubles::Child;

QStringList Headings(const QTabBar& tabs)
{
    QStringList headings;
    for (int i = 0; i < tabs.count(); ++i)
        headings << tabs.tabText(i);
    return headings;
}

// An options window on a real strip; the strip's host only records that it was asked.
class OptionsTest : public FormTest {
protected:
    std::unique_ptr<TFormOptions> options;

    // No handler may have failed: a failure would have been shown in a message box.
    void TearDown() override { EXPECT_TRUE(env.dialogs.messages.empty()); }

    TFormOptions& Open()
    {
        options = std::make_unique<TFormOptions>(env.platform(), store, *form, QPixmap(), QPixmap());
        options->show();
        return *options;
    }

    template <typename Widget = QWidget> Widget* Control(const char* name) const
    {
        return Child<Widget>(*options, QString::fromLatin1(name));
    }
    bool Ticked(const char* name) const { return Control<QAbstractButton>(name)->isChecked(); }
    void Click(const char* name) const { QTest::mouseClick(Control<QAbstractButton>(name), Qt::LeftButton); }
    QLineEdit* Edit(int index) const { return Control<QLineEdit>(("EditTab" + std::to_string(index)).c_str()); }

    QTabBar& Tabs() const { return *Child<QTabBar>(*form, QStringLiteral("Tab1")); }
    int Page() const { return Child<QStackedWidget>(*form, QStringLiteral("NB1"))->currentIndex(); }
};

struct Opening {
    const char* name;
    std::string stored; // FILE.INI before the start; empty: no file
    bool trayTicked;
    bool hideTabsTicked;
    int radioTicked; // 0: none
    int pageBehind; // the strip showed group 2 (page 1) before opening
    int stripHeight;
    std::string storedAfter; // FILE.INI once the window is open
};

void PrintTo(const Opening& opening, std::ostream* out)
{
    *out << opening.name;
}

class OpeningTest : public OptionsTest, public ::testing::WithParamInterface<Opening> {};

TEST_P(OpeningTest, BoxesFollowTheStripAndTheirHandlersRunOnlyOnAChange)
{
    const Opening& opening = GetParam();
    if (!opening.stored.empty())
        env.write("FILE.INI", opening.stored);
    Start();
    Tabs().setCurrentIndex(1);
    ASSERT_EQ(Page(), 1);

    Open();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Edit(i)->text(), QStringLiteral("Group%1").arg(i + 1));
    EXPECT_EQ(Ticked("CheckBoxTray"), opening.trayTicked);
    EXPECT_EQ(form->StartInTray(), opening.trayTicked);
    EXPECT_EQ(Ticked("CheckHideTabs"), opening.hideTabsTicked);
    const char* radios[] = {"RadioButton1", "RadioButton2", "RadioButton3"};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Ticked(radios[i]), opening.radioTicked == i + 1) << radios[i];
    EXPECT_EQ(Page(), opening.pageBehind);
    EXPECT_EQ(form->height(), opening.stripHeight);
    EXPECT_EQ(env.settings(), opening.storedAfter);
}

const std::string StartedWithoutFile = "[Help]\r\nVisible=0\r\n[Format]\r\nStyle=1\r\n";

INSTANTIATE_TEST_SUITE_P(
    StoredSettings, OpeningTest,
    ::testing::Values(
        // The tray box is unticked and false written again; "True" unticks the hide-tabs box,
        // which shows the tabs and writes "True"; style 1 is laid out again and written.
        Opening{"NoSettingsFile", "", false, false, 1, 0, 103,
                StartedWithoutFile + "[Tray]\r\nDefault=0\r\n[TABS]\r\nVisible=True\r\n"},
        // Every box is already as the design has it: only the radio button's style is applied.
        Opening{"TrayOnTabsHiddenStyle2", "[Tray]\r\nDefault=1\r\n[TABS]\r\nVisible=False\r\n[Format]\r\nStyle=2\r\n",
                true, true, 2, 0, 63,
                "[Tray]\r\nDefault=1\r\n[TABS]\r\nVisible=False\r\n[Format]\r\nStyle=2\r\n[Help]\r\nVisible=0\r\n"},
        // Style 3 leaves a hand-written "true" as it is, and only exactly "True" unticks the box.
        Opening{"LowerCaseTrueInStyle3", "[TABS]\r\nVisible=true\r\n[Format]\r\nStyle=3\r\n", false, true, 3, 0, 28,
                "[TABS]\r\nVisible=true\r\n[Format]\r\nStyle=3\r\n[Help]\r\nVisible=0\r\n[Tray]\r\nDefault=0\r\n"},
        // No radio button for style 5: the strip is not laid out again and stays on group 2.
        Opening{"Style5TabsHidden", "[TABS]\r\nVisible=False\r\n[Format]\r\nStyle=5\r\n", false, true, 0, 1, 86,
                "[TABS]\r\nVisible=False\r\n[Format]\r\nStyle=5\r\n[Help]\r\nVisible=0\r\n[Tray]\r\nDefault=0\r\n"},
        // Showing the tabs still returns to group 1, and the style is not written.
        Opening{"Style5TabsShown", "[Format]\r\nStyle=5\r\n", false, false, 0, 0, 103,
                "[Format]\r\nStyle=5\r\n[Help]\r\nVisible=0\r\n[Tray]\r\nDefault=0\r\n[TABS]\r\nVisible=True\r\n"}),
    [](const auto& opening) { return std::string(opening.param.name); });

TEST_F(OptionsTest, HeadingsTakeEffectOnlyOnChangeTabsAndExitDiscardsThem)
{
    env.write("FILE.INI", "[TABS]\r\nTab0=Work\r\n");
    Start();
    Open();
    EXPECT_EQ(Edit(0)->text(), QStringLiteral("Work"));
    EXPECT_EQ(Edit(1)->text(), QStringLiteral("Group2"));

    Edit(0)->clear();
    Edit(1)->clear();
    QTest::keyClicks(Edit(1), QStringLiteral(" Two words "));
    Edit(2)->clear();
    QTest::keyClicks(Edit(2), QStringLiteral("Games"));
    EXPECT_EQ(env.settings().find("Tab1"), std::string::npos);
    EXPECT_EQ(Headings(Tabs()), QStringList({"Work", "Group2", "Group3", "Options"}));

    Click("ButtonChangeTabs");
    // As typed: an empty heading gives an empty tab, and blanks stay.
    EXPECT_EQ(Headings(Tabs()), QStringList({"", " Two words ", "Games", "Options"}));
    EXPECT_EQ(env.settings(),
              "[TABS]\r\nTab0=\r\nVisible=True\r\nTab1= Two words \r\nTab2=Games\r\n"
              "[Help]\r\nVisible=0\r\n[Format]\r\nStyle=1\r\n[Tray]\r\nDefault=0\r\n");

    const std::string changed = env.settings();
    Edit(2)->clear();
    QTest::keyClicks(Edit(2), QStringLiteral("Unsaved"));
    Click("ButtonExit");
    EXPECT_FALSE(options->isVisible());
    EXPECT_EQ(Tabs().tabText(2), QStringLiteral("Games"));
    EXPECT_EQ(env.settings(), changed);

    // The next opening shows what the file holds.
    Open();
    EXPECT_EQ(Edit(0)->text(), QString());
    EXPECT_EQ(Edit(2)->text(), QStringLiteral("Games"));

    // A pasted line break becomes a blank in the box, and so in the tab and the file.
    Edit(1)->clear();
    Edit(1)->insert(QStringLiteral("Two\r\nlines\nhere"));
    EXPECT_EQ(Edit(1)->text(), QStringLiteral("Two lines here"));
    Click("ButtonChangeTabs");
    EXPECT_EQ(Tabs().tabText(1), QStringLiteral("Two lines here"));
    EXPECT_NE(env.settings().find("\r\nTab1=Two lines here\r\n"), std::string::npos);
}

TEST_F(OptionsTest, ARadioButtonAppliesItsStyleOnlyWhenItBecomesTicked)
{
    Start();
    Open();
    Tabs().setCurrentIndex(2);
    Click("RadioButton1"); // already ticked
    EXPECT_EQ(Page(), 2);

    Click("RadioButton3");
    EXPECT_EQ(form->ViewStyle(), 3);
    EXPECT_EQ(form->height(), 28);
    EXPECT_FALSE(Ticked("RadioButton1"));
    EXPECT_NE(env.settings().find("Style=3\r\n"), std::string::npos);

    Click("RadioButton2");
    EXPECT_EQ(form->height(), 81);
    EXPECT_EQ(Page(), 0);
    Tabs().setCurrentIndex(1);
    Click("RadioButton2");
    EXPECT_EQ(Page(), 1);
    EXPECT_NE(env.settings().find("Style=2\r\n"), std::string::npos);
}

TEST_F(OptionsTest, CheckBoxesApplyAndStoreAtOnce)
{
    Start();
    Open();
    Click("CheckHideTabs");
    EXPECT_EQ(form->TabsVisible(), "False");
    EXPECT_EQ(form->height(), 85);
    EXPECT_NE(env.settings().find("[TABS]\r\nVisible=False\r\n"), std::string::npos);
    Click("CheckHideTabs");
    EXPECT_EQ(form->height(), 103);
    EXPECT_NE(env.settings().find("[TABS]\r\nVisible=True\r\n"), std::string::npos);

    Click("CheckBoxTray");
    EXPECT_TRUE(form->StartInTray());
    EXPECT_NE(env.settings().find("[Tray]\r\nDefault=1\r\n"), std::string::npos);
    EXPECT_FALSE(form->isMinimized()); // the choice waits for the next start
    options.reset();
    form.reset();
    EXPECT_TRUE(Start().isMinimized());
}

TEST_F(OptionsTest, ASettingsFileThatCannotBeWrittenChangesTheStripAllTheSame)
{
    Start();
    const std::string stored = env.settings();
    namespace fs = std::filesystem;
    fs::permissions(env.directory(),
                    fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read | fs::perms::group_exec
                        | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(env.path("FILE.INI"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    const int failures = doubles::RunUnprivileged([&] {
        Open();
        Edit(0)->setText(QStringLiteral("Work"));
        Click("ButtonChangeTabs");
        Click("CheckBoxTray");
        Click("RadioButton3");
        const bool changed = Tabs().tabText(0) == QStringLiteral("Work") && form->StartInTray() && form->height() == 28;
        return changed && env.dialogs.messages.empty() ? 0 : 1;
    });
    fs::permissions(env.directory(), fs::perms::owner_all);
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(env.settings(), stored);
}

// The real program object opens the window modally; each modal window that comes up is looked
// at and then ended, as a user would.
class OpeningFromTheStripTest : public ::testing::Test {
protected:
    doubles::TestPlatform env;
    doubles::TestTray tray;
    std::unique_ptr<TStackle> stackle;
    int opened = 0;
    int pageBehind = -1;
    QPointer<QWidget> last;
    std::function<void(QWidget&)> end = [](QWidget& window) {
        QTest::mouseClick(Child<QPushButton>(window, QStringLiteral("ButtonExit")), Qt::LeftButton);
    };
    QTimer watcher;

    void TearDown() override { EXPECT_TRUE(env.dialogs.messages.empty()); }

    void SetUp() override
    {
        watcher.setInterval(5);
        QObject::connect(&watcher, &QTimer::timeout, [this] {
            QWidget* window = QApplication::activeModalWidget();
            if (!window)
                return;
            ++opened;
            last = window;
            EXPECT_EQ(window->windowTitle(), QStringLiteral("Optional Settings"));
            EXPECT_EQ(window->parentWidget(), nullptr);
            pageBehind = Page();
            end(*window);
        });
        watcher.start();
    }

    TForm1& Start()
    {
        stackle = std::make_unique<TStackle>(env.platform(), tray.trayPlatform());
        return stackle->Strip();
    }
    int Page() const { return Child<QStackedWidget>(stackle->Strip(), QStringLiteral("NB1"))->currentIndex(); }
    void ClickStrip(const char* name)
    {
        QTest::mouseClick(Child<QAbstractButton>(stackle->Strip(), QString::fromLatin1(name)), Qt::LeftButton);
        QCoreApplication::processEvents();
    }
};

TEST_F(OpeningFromTheStripTest, OptionsButtonOpensANewModalWindowThatExitOrTheCloseBoxEnds)
{
    Start();
    ClickStrip("ButtonOptions");
    EXPECT_EQ(opened, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(last.isNull()) << "the closed window was not released";

    end = [](QWidget& window) { window.close(); };
    ClickStrip("ButtonOptions");
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(OpeningFromTheStripTest, UpFromGroupOneReachesOptionsAndOpensTheWindowOnce)
{
    const struct {
        const char* stored;
        int ups;
        int pageBehind;
    } cases[] = {
        // Opening lays the strip out again in its style, which returns it to group 1.
        {"", 3, 0},
        // No style to lay out: the strip stays on the Options tab, where UP does nothing.
        {"[TABS]\r\nVisible=False\r\n[Format]\r\nStyle=5\r\n", 4, 3},
    };
    for (const auto& step : cases) {
        env.write("FILE.INI", step.stored);
        opened = 0;
        Start();
        for (int i = 0; i < step.ups; ++i)
            ClickStrip("SpeedButton2");
        EXPECT_EQ(opened, 1) << step.stored;
        EXPECT_EQ(pageBehind, step.pageBehind) << step.stored;
        EXPECT_EQ(Page(), step.pageBehind) << step.stored;
    }
}

} // namespace
