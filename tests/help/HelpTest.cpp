#include "help/Help.h"

#include "doubles/Child.h"
#include "doubles/FakePlatform.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include <filesystem>
#include <optional>

namespace {

using doubles::Child;
using help::HelpRegion;

const QString StartingText = QStringLiteral("Click anywhere on the picture above for detailed instructions");

class HelpWindowTest : public ::testing::Test {
protected:
    doubles::TestPlatform env;
    TFormHelp form{env.platform()};

    void SetUp() override { form.show(); }

    QLabel* Info(int n) const { return Child<QLabel>(form, QStringLiteral("LabelHelpInfo%1").arg(n)); }
    bool Shows(const QString& name) const { return Child(form, name)->isVisible(); }
    QMenu* Menu() const { return Child<QMenu>(form, QStringLiteral("PopupMenu1")); }

    // The memo face: the guide shows, the way back to it does not.
    void ExpectMemoFace() const
    {
        EXPECT_TRUE(Shows(QStringLiteral("MemoHelp")));
        EXPECT_TRUE(Shows(QStringLiteral("LabelHelp")));
        EXPECT_FALSE(Shows(QStringLiteral("ButtonShowHelp")));
    }
    void ExpectExplanationFace() const
    {
        EXPECT_FALSE(Shows(QStringLiteral("MemoHelp")));
        EXPECT_FALSE(Shows(QStringLiteral("LabelHelp")));
        EXPECT_TRUE(Shows(QStringLiteral("ButtonShowHelp")));
    }
};

TEST_F(HelpWindowTest, OpensCentredOnTheMemoFace)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Help"));
    EXPECT_EQ(form.objectName(), QStringLiteral("FormHelp"));
    EXPECT_EQ(form.pos(), QPoint((1024 - 500) / 2, (768 - 368) / 2));
    ExpectMemoFace();
    EXPECT_EQ(Child<QPlainTextEdit>(form, QStringLiteral("MemoHelp"))->toPlainText(), help::HelpMemoText());
    EXPECT_EQ(Info(1)->text(), StartingText);
    // The memo shows the text's own lines: none is wrapped again.
    auto* memo = Child<QPlainTextEdit>(form, QStringLiteral("MemoHelp"));
    const int room = memo->viewport()->width() - 2 * int(memo->document()->documentMargin());
    for (const QString& line : help::HelpMemoText().split(QLatin1Char('\n')))
        EXPECT_LE(memo->fontMetrics().horizontalAdvance(line), room) << line.toStdString();
    auto* tabs = Child<QTabBar>(form, QStringLiteral("TabSet1"));
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Group#1"));
    EXPECT_EQ(tabs->tabText(3), QStringLiteral("Options"));
    EXPECT_EQ(tabs->currentIndex(), 0);
    // All four tabs fit into the picture without scroll arrows.
    EXPECT_LE(tabs->tabRect(3).right(), tabs->width());
}

// Every part of the picture, in an order that hides the third and fourth labels after they
// held texts and shows them again, with the explanation it gives.
struct Region {
    const char* control;
    Qt::MouseButton button;
    HelpRegion region;
};

const Region Regions[] = {
    {"LabelN", Qt::LeftButton, HelpRegion::Notes},
    {"Label1", Qt::LeftButton, HelpRegion::Clock},
    {"Label2", Qt::LeftButton, HelpRegion::LaunchAll},
    {"BitBtn3", Qt::LeftButton, HelpRegion::Hands},
    {"Label9", Qt::LeftButton, HelpRegion::Param},
    {"ButtonOptions", Qt::LeftButton, HelpRegion::Options},
    {"Shape5", Qt::LeftButton, HelpRegion::ButtonOtherPress},
    {"ButtonMin", Qt::LeftButton, HelpRegion::Minimise},
    {"Label8", Qt::LeftButton, HelpRegion::LaunchAll},
    {"BitBtn7", Qt::LeftButton, HelpRegion::Exit},
    {"Label3", Qt::LeftButton, HelpRegion::Param},
    {"BitBtn2", Qt::LeftButton, HelpRegion::Arrows},
    {"Label6", Qt::MiddleButton, HelpRegion::ButtonOtherPress},
    {"BitBtn5", Qt::LeftButton, HelpRegion::HelpButton},
    {"Shape3", Qt::RightButton, HelpRegion::ButtonRightPress},
    {"TabSet1", Qt::LeftButton, HelpRegion::Tabs},
    {"Label7", Qt::RightButton, HelpRegion::ButtonRightPress},
    {"Button3", Qt::LeftButton, HelpRegion::Minimise},
    {"BitBtn6", Qt::LeftButton, HelpRegion::Exit},
    {"BitBtn1", Qt::LeftButton, HelpRegion::Arrows},
};

TEST_F(HelpWindowTest, EachRegionExplainsItselfAndShowHelpMemoBringsTheMemoBack)
{
    std::optional<QString> kept3, kept4; // a hidden label keeps its caption
    bool first = true;
    for (const Region& region : Regions) {
        SCOPED_TRACE(region.control);
        const help::RegionTexts& texts = help::TextsOf(region.region);
        QTest::mouseClick(Child(form, QString::fromLatin1(region.control)), region.button);
        Menu()->hide();

        ExpectExplanationFace();
        if (first) { // the starting text is replaced, by a text or by nothing
            EXPECT_NE(Info(1)->text(), StartingText);
        }
        first = false;
        EXPECT_TRUE(Info(1)->isVisible());
        EXPECT_EQ(Info(1)->text(), texts.info1);
        EXPECT_TRUE(Info(2)->isVisible());
        EXPECT_EQ(Info(2)->text(), texts.info2);
        EXPECT_FALSE(texts.info2.isEmpty());
        EXPECT_EQ(Info(3)->isVisible(), texts.info3.has_value());
        EXPECT_EQ(Info(4)->isVisible(), texts.info4.has_value());
        if (texts.info3)
            kept3 = texts.info3;
        if (texts.info4)
            kept4 = texts.info4;
        EXPECT_EQ(Info(3)->text(), kept3.value_or(QString()));
        EXPECT_EQ(Info(4)->text(), kept4.value_or(QString()));

        // The labels keep their texts under the memo.
        QTest::mouseClick(Child(form, QStringLiteral("ButtonShowHelp")), Qt::LeftButton);
        ExpectMemoFace();
        EXPECT_EQ(Info(2)->text(), texts.info2);
    }
}

TEST_F(HelpWindowTest, FixedTextsAndSharedTexts)
{
    EXPECT_EQ(help::TextsOf(HelpRegion::Exit).info2, QStringLiteral("Click here to quit Stackle."));
    EXPECT_EQ(help::TextsOf(HelpRegion::HelpButton).info2,
              QStringLiteral("This brings up the help screen -- you are looking at it right now."));
    const help::RegionTexts& right = help::TextsOf(HelpRegion::ButtonRightPress);
    const help::RegionTexts& other = help::TextsOf(HelpRegion::ButtonOtherPress);
    EXPECT_EQ(other.info2, right.info2);
    EXPECT_EQ(other.info3, right.info3);
    EXPECT_NE(other.info1, right.info1);
    EXPECT_NE(other.info4, right.info4);
}

// Every explanation fits into its label: nothing is cut off at the bottom.
TEST_F(HelpWindowTest, EveryExplanationFitsItsLabel)
{
    for (const Region& region : Regions) {
        const help::RegionTexts& texts = help::TextsOf(region.region);
        const std::optional<QString> captions[] = {texts.info1, texts.info2, texts.info3, texts.info4};
        for (int n = 1; n <= 4; ++n) {
            if (!captions[n - 1])
                continue;
            const QRect needed = Info(n)->fontMetrics().boundingRect(QRect(0, 0, Info(n)->width(), 1000),
                                                                     Qt::TextWordWrap, *captions[n - 1]);
            EXPECT_LE(needed.height(), Info(n)->height()) << region.control << " label " << n;
            EXPECT_LE(needed.width(), Info(n)->width()) << region.control << " label " << n;
        }
    }
}

TEST_F(HelpWindowTest, RightPressOpensTheMockMenuUnderThePointer)
{
    for (const char* name : {"Shape4", "Label5"}) {
        SCOPED_TRACE(name);
        QWidget* control = Child(form, QString::fromLatin1(name));
        const QPoint press(7, 9);
        QTest::mouseClick(control, Qt::LeftButton, {}, press);
        EXPECT_FALSE(Menu()->isVisible()) << "a left press opens no menu";
        EXPECT_EQ(Info(1)->text(), help::TextsOf(HelpRegion::ButtonOtherPress).info1);

        QTest::mousePress(control, Qt::RightButton, {}, press);
        EXPECT_EQ(Info(1)->text(), help::TextsOf(HelpRegion::ButtonRightPress).info1);
        EXPECT_EQ(Info(4)->text(), help::TextsOf(HelpRegion::ButtonRightPress).info4);
        ASSERT_TRUE(Menu()->isVisible());
        EXPECT_EQ(Menu()->pos(), form.mapToGlobal(control->pos() + press));
        QTest::mouseRelease(control, Qt::RightButton, {}, press);
        Menu()->hide();
    }
}

TEST_F(HelpWindowTest, ChoosingAMockMenuItemChangesNothing)
{
    QTest::mousePress(Child(form, QStringLiteral("Shape6")), Qt::RightButton);
    const auto state = [this] {
        QStringList seen;
        for (QWidget* widget : form.findChildren<QWidget*>()) {
            if (widget == Menu())
                continue;
            seen << widget->objectName()
                    + (widget->isVisible() ? QStringLiteral(" shown ") : QStringLiteral(" hidden "));
            if (auto* label = qobject_cast<QLabel*>(widget))
                seen << label->text();
        }
        seen << QString::number(Child<QTabBar>(form, QStringLiteral("TabSet1"))->currentIndex());
        return seen;
    };
    const QStringList before = state();
    const QList<QAction*> items = Menu()->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0]->text(), QStringLiteral("Assign main button file"));
    EXPECT_EQ(items[3]->text(), QStringLiteral("Clear ALL files"));
    for (QAction* item : items)
        item->trigger();
    Menu()->hide();
    EXPECT_EQ(state(), before);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(env.dialogs.messages.empty());
    EXPECT_TRUE(env.dialogs.fileRequests.empty());
    EXPECT_TRUE(std::filesystem::is_empty(env.directory()));
}

TEST_F(HelpWindowTest, ClickingATabSelectsItAndExplainsTheTabs)
{
    auto* tabs = Child<QTabBar>(form, QStringLiteral("TabSet1"));
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    EXPECT_EQ(tabs->currentIndex(), 2);
    EXPECT_EQ(Info(2)->text(), help::TextsOf(HelpRegion::Tabs).info2);
}

// Keys typed while the memo is out of sight never reach it: after a click into the memo and then
// on the picture, the keyboard is with the button that brings the memo back. Tab in the memo
// moves the focus on instead of typing a tab.
TEST_F(HelpWindowTest, KeysNeverReachTheMemoOutOfSight)
{
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    auto* memo = Child<QPlainTextEdit>(form, QStringLiteral("MemoHelp"));
    const QString guide = memo->toPlainText();
    QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(memo->hasFocus());
    QTest::keyClick(memo, Qt::Key_Tab);
    EXPECT_FALSE(memo->hasFocus());

    QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(Child(form, QStringLiteral("Label1")), Qt::LeftButton);
    ExpectExplanationFace();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("typed"));
    QTest::mouseClick(Child(form, QStringLiteral("ButtonShowHelp")), Qt::LeftButton);
    EXPECT_EQ(memo->toPlainText(), guide);
}

// "E&xit", and Escape wherever the keyboard is, even in the memo, which takes other keys.
TEST_F(HelpWindowTest, ExitOrEscapeOnlyHidesTheWindow)
{
    QTest::mouseClick(Child(form, QStringLiteral("Button2")), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(Child<QPushButton>(form, QStringLiteral("Button2"))->text(), QStringLiteral("E&xit"));

    form.show();
    auto* memo = Child<QPlainTextEdit>(form, QStringLiteral("MemoHelp"));
    const QString guide = memo->toPlainText();
    QTest::keyClick(memo, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(memo->toPlainText(), guide);
}

} // namespace
