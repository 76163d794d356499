#include "app/FormTest.h"

#include "doubles/Child.h"

#include <gtest/gtest.h>

#include <QStackedWidget>
#include <QTest>

namespace {

using doubles::Child;

class StripKeysTest : public FormTest {
protected:
    void SetUp() override
    {
        env.write("FILE.INI",
                  "[Help]\r\nVisible=0\r\n[EXE]\r\nEXE1=/t/one\r\nEXE2=/t/two\r\nEXE4=/t/four\r\nEXE6=/t/six\r\n");
        env.write("flist2.dll", "a.txt    */d/a.txt\r\n");
        Start();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    // A key typed while the strip has the focus.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(form.get(), key, modifiers); }
    TExeBtn* Button(int slot) const { return form->SlotCommands().Button(slot); }
    int Page() const { return Child<QStackedWidget>(*form, "NB1")->currentIndex(); }
    std::vector<std::string> Started()
    {
        std::vector<std::string> started;
        for (const auto& start : env.shell.starts)
            started.push_back(start.file);
        env.shell.starts.clear();
        return started;
    }
};

// Left and Right move the focus within the group on view, and stop at its ends; Return and Space
// start the focused slot, 1 to 4 a slot of the group on view, A and P act on the focused slot.
TEST_F(StripKeysTest, ArrowsMoveBetweenSlotsWhichKeysStart)
{
    Press(Qt::Key_Right);
    EXPECT_TRUE(Button(1)->hasFocus());
    for (int i = 0; i < 4; ++i)
        Press(Qt::Key_Right);
    EXPECT_TRUE(Button(4)->hasFocus());
    Press(Qt::Key_Return);
    Press(Qt::Key_Left);
    Press(Qt::Key_Left);
    EXPECT_TRUE(Button(2)->hasFocus());
    Press(Qt::Key_Space);
    EXPECT_EQ(Started(), (std::vector<std::string>{"/t/four", "/t/two"}));

    Press(Qt::Key_1);
    Press(Qt::Key_3); // an empty slot starts nothing
    Press(Qt::Key_1, Qt::ControlModifier); // not a key of the strip's
    EXPECT_EQ(Started(), std::vector<std::string>{"/t/one"});
    EXPECT_TRUE(Button(2)->hasFocus());

    Press(Qt::Key_A);
    EXPECT_EQ(Started(), (std::vector<std::string>{"/t/two", "/d/a.txt"}));
    Press(Qt::Key_P);
    EXPECT_TRUE(form->SlotCommands().ParamOn(2));
    EXPECT_FALSE(form->SlotCommands().ParamOn(1));
    EXPECT_EQ(store.Read(settings::ParamFlag(2)), 1);
}

// Ctrl+PageDown and Ctrl+Tab step forward through the groups as the UP arrow does, Ctrl+PageUp and
// Ctrl+Shift+Tab back; the focus keeps its place in the group.
TEST_F(StripKeysTest, ControlKeysStepThroughTheGroupsKeepingThePlace)
{
    Press(Qt::Key_Right);
    Press(Qt::Key_Right);
    Press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(Page(), 1);
    EXPECT_TRUE(Button(6)->hasFocus());
    Press(Qt::Key_Return);
    Press(Qt::Key_1);
    EXPECT_EQ(Started(), std::vector<std::string>{"/t/six"}) << "slot 5 is empty";
    Press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Page(), 2);
    Press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Page(), 1);
    Press(Qt::Key_PageUp, Qt::ControlModifier);
    Press(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(Page(), 0);
    EXPECT_TRUE(Button(2)->hasFocus());
    EXPECT_EQ(host.optionsShown, 0);
}

// The Menu key and Shift+F10 open the focused slot's menu under its button, as a right press does.
TEST_F(StripKeysTest, MenuKeyOpensTheFocusedSlotsMenu)
{
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Menu, Qt::KeyboardModifiers()},
                                         std::pair{Qt::Key_F10, Qt::KeyboardModifiers(Qt::ShiftModifier)}}) {
        Button(2)->setFocus(Qt::TabFocusReason);
        QTest::keyPress(form.get(), key, modifiers);
        QMenu* menu = form->SlotCommands().FilledMenu(2);
        QTest::keyRelease(menu, key, modifiers); // the open menu takes the keys
        ASSERT_TRUE(menu->isVisible());
        EXPECT_EQ(menu->pos(), Button(2)->mapToGlobal(QPoint(0, Button(2)->height())));
        EXPECT_EQ(form->SlotCommands().CurrentSlot(), 2);
        EXPECT_EQ(menu->actions().at(FirstEntry)->text(), QStringLiteral("a.txt"));
        menu->hide();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
}

// The focused button shows a frame while keys are used, Tab among them, and looks as ever once the
// mouse is used.
TEST_F(StripKeysTest, FocusFrameShowsOnlyWhileKeysAreUsed)
{
    Button(1)->setFocus(Qt::MouseFocusReason);
    const QImage untouched = Button(1)->grab().toImage();
    Press(Qt::Key_Left); // the first button keeps the focus
    ASSERT_TRUE(Button(1)->hasFocus());
    EXPECT_NE(Button(1)->grab().toImage(), untouched);
    QTest::mouseClick(form.get(), Qt::LeftButton, {}, QPoint(2, 2)); // on a bare part of the strip
    ASSERT_TRUE(Button(1)->hasFocus());
    EXPECT_EQ(Button(1)->grab().toImage(), untouched);
    // Shift+Tab from the next button.
    Button(2)->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(Button(2), Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_TRUE(Button(1)->hasFocus());
    EXPECT_NE(Button(1)->grab().toImage(), untouched);
}

} // namespace
