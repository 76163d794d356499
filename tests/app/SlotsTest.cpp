#include "app/FormTest.h"
#include "exebtn/ExeBtn.h"
#include "widgets/ClickLabel.h"

#include "doubles/Unprivileged.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>

#include <filesystem>
#include <map>

namespace {

namespace fs = std::filesystem;

// The texts of the menu's items, a separator as "-".
QStringList MenuTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

class SlotsTest : public FormTest {
protected:
    std::string List(int slot) const { return env.read("flist" + std::to_string(slot) + ".dll").value_or("<missing>"); }

    QStringList Entries(int slot) const { return MenuTexts(form->SlotCommands().FilledMenu(slot)).mid(FirstEntry); }

    // Right-presses the slot's button and chooses the menu item at position item.
    void Choose(int slot, int item)
    {
        TExeBtn* button = form->SlotCommands().Button(slot);
        QMenu* menu = RightPress(slot, QPoint(9, 8));
        EXPECT_TRUE(menu->isVisible());
        EXPECT_EQ(menu->pos(), button->mapToGlobal(QPoint(9, 8)));
        EXPECT_EQ(form->SlotCommands().CurrentSlot(), slot);
        ChooseItem(menu, item);
    }
    void ClickParam(int slot) { QTest::mouseClick(ParamLabel(*form, slot), Qt::LeftButton); }
};

TEST_F(SlotsTest, SlotsComeUpFromTheSettingsFileAndTheirLists)
{
    env.write("FILE.INI", "[EXE]\r\nEXE2=/usr/bin/editor\r\nEXE3=\r\nParam2=0x1\r\nParam3=on\r\nParam4=-1\r\n");
    env.write("flist2.dll", "zeta    */z/zeta\r\nAlpha & Co    */a/Alpha & Co\r\n");
    Start();
    EXPECT_EQ(form->SlotCommands().Button(2)->ExeFile(), "/usr/bin/editor");
    EXPECT_EQ(form->SlotCommands().Button(2)->ExeIconFile(), "/usr/bin/editor");
    for (int slot : {1, 3, 12}) {
        EXPECT_EQ(form->SlotCommands().Button(slot)->ExeFile(), "") << slot;
        EXPECT_EQ(form->SlotCommands().Button(slot)->ExeIconFile(), env.path("empty.ico")) << slot;
    }
    EXPECT_EQ(Entries(2), QStringList({"Alpha && Co", "zeta"}));
    EXPECT_EQ(form->SlotCommands().CurrentSlot(), 2);
    EXPECT_TRUE(form->SlotCommands().ParamOn(2));
    EXPECT_FALSE(form->SlotCommands().ParamOn(3));
    EXPECT_TRUE(form->SlotCommands().ParamOn(4));
    EXPECT_FALSE(form->SlotCommands().ParamOn(5));
}

TEST_F(SlotsTest, EverySlotMenuHasTheFixedItemsUnderItsNames)
{
    Start();
    EXPECT_EQ(MenuTexts(form->SlotCommands().FilledMenu(1)),
              QStringList({"A&ssign main button file", "&Add pop-up menu files", "&Delete a pop-up file",
                           "&Clear ALL files", "-"}));
    QStringList names;
    for (const QAction* action : form->SlotCommands().FilledMenu(1)->actions())
        names << action->objectName();
    EXPECT_EQ(names, QStringList({"AssignEXE1", "AddFiles", "RemoveFiles1", "ClearALLfiles1", "N1"}));
    EXPECT_EQ(form->SlotCommands().FilledMenu(12)->actions().first()->objectName(), QStringLiteral("MenuItem51"));
    EXPECT_EQ(form->SlotCommands().FilledMenu(12)->actions().last()->objectName(), QStringLiteral("MenuItem55"));
    EXPECT_EQ(form->SlotCommands().FilledMenu(2)->objectName(), QStringLiteral("PopupMenu2"));
    EXPECT_EQ(form->SlotCommands().CurrentSlot(), 0) << "no list file was there to load";
}

// Menus are made when first needed: the first right press on a slot shows its menu whole, with
// the entries of its list as start-up read it.
TEST_F(SlotsTest, FirstRightPressShowsTheWholeMenu)
{
    env.write("flist7.dll", "b    */x/b\r\na    */x/a\r\n");
    Start();
    QTest::mousePress(form->findChild<TExeBtn*>(QStringLiteral("ExeBtn7")), Qt::RightButton, {}, QPoint(5, 5));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    const QStringList texts = MenuTexts(menu);
    menu->hide();
    EXPECT_EQ(texts,
              QStringList({"A&ssign main button file", "&Add pop-up menu files", "&Delete a pop-up file",
                           "&Clear ALL files", "-", "a", "b"}));
    EXPECT_EQ(menu->objectName(), QStringLiteral("PopupMenu7"));
}

// Names cut to their first 12 characters may read alike: each entry tells its file's full path
// as its tip, literally.
TEST_F(SlotsTest, EntriesTipTheirFullPath)
{
    env.write("flist2.dll",
              "report-2024-    */docs/report-2024-q1.txt\r\nreport-2024-    */docs/report-2024 <b>q2</b>.txt\r\n");
    Start();
    QMenu* menu = form->SlotCommands().FilledMenu(2);
    EXPECT_TRUE(menu->toolTipsVisible());
    menu->popup(QPoint(10, 10));
    QStringList tips;
    for (QAction* entry : menu->actions().mid(FirstEntry)) {
        QTest::mouseMove(menu, menu->actionGeometry(entry).center());
        QTextDocument shown;
        shown.setHtml(entry->toolTip());
        tips << shown.toPlainText();
    }
    menu->hide();
    EXPECT_EQ(Entries(2), QStringList({"report-2024-", "report-2024-"}));
    EXPECT_EQ(tips, QStringList({"/docs/report-2024 <b>q2</b>.txt", "/docs/report-2024-q1.txt"}));
}

// A screen reader may ask for a slot of a group not shown yet: it hears the slot's file.
TEST_F(SlotsTest, ScreenReadersHearTheFilesOfGroupsNotShownYet)
{
    env.write("FILE.INI", "[EXE]\r\nEXE6=/tools/viewer\r\n");
    Start();
    QWidget* button = form->findChild<QWidget*>(QStringLiteral("ExeBtn6"));
    ASSERT_FALSE(button->isVisible());
    QAccessibleInterface* slot = QAccessible::queryAccessibleInterface(button);
    EXPECT_EQ(slot->text(QAccessible::Name), QStringLiteral("viewer"));
    EXPECT_EQ(slot->text(QAccessible::Description), QStringLiteral("/tools/viewer"));
}

// Each group shows its slots' icons from the moment it is first shown; groups 2 and 3 read them
// then, group 1 before the strip first shows.
TEST_F(SlotsTest, EveryGroupShowsItsIconsWhenFirstShown)
{
    const std::map<int, QColor> colours = {{1, Qt::red}, {6, Qt::green}, {9, Qt::yellow}, {12, Qt::cyan}};
    std::string settings = "[EXE]\r\n";
    for (const auto& [slot, colour] : colours) {
        const std::string file = "program" + std::to_string(slot);
        env.write(file, "#!/bin/sh\n");
        env.icons.icons[env.path(file)] = doubles::FakeIcons::Solid(colour);
        settings += "EXE" + std::to_string(slot) + "=" + env.path(file) + "\r\n";
    }
    env.write("FILE.INI", settings);
    Start();
    form->show();
    auto* up = form->findChild<QToolButton*>(QStringLiteral("SpeedButton2"));
    for (int group = 1; group <= 3; ++group) {
        if (group > 1)
            QTest::mouseClick(up, Qt::LeftButton);
        const QImage strip = form->grab().toImage();
        for (int slot = 4 * group - 3; slot <= 4 * group; ++slot) {
            const auto* button = form->findChild<TExeBtn*>(QStringLiteral("ExeBtn%1").arg(slot));
            ASSERT_TRUE(button->isVisible()) << slot;
            const QPoint inIcon = button->Image()->mapTo(form.get(), QPoint(5, 5));
            const QColor expected = colours.contains(slot) ? colours.at(slot) : QColor();
            if (expected.isValid()) {
                EXPECT_EQ(strip.pixelColor(inIcon), expected) << "slot " << slot;
            }
            EXPECT_EQ(button->ExeFile(), expected.isValid() ? env.path("program" + std::to_string(slot)) : "")
                << "slot " << slot;
        }
    }
}

// A file that gives no icon leaves its slot blank on every group, whenever its group first
// shows: the program's own icon, which shows for a slot without an icon file, never stands in.
TEST_F(SlotsTest, AFileWithoutAnIconLeavesItsSlotBlankOnEveryGroup)
{
    env.write("stackle", ""); // the program file, whose own icon the fake gives
    env.icons.icons[env.path("stackle")] = doubles::FakeIcons::Solid(Qt::magenta);
    env.write("cut.ico", std::string("\0\0\1\0", 4));
    env.write("FILE.INI", "[EXE]\r\nEXE1=" + env.path("cut.ico") + "\r\nEXE6=" + env.path("cut.ico") + "\r\n");
    Start();
    form->show();
    QTest::mouseClick(form->findChild<QToolButton*>(QStringLiteral("SpeedButton2")), Qt::LeftButton);
    const auto* first = form->findChild<TExeBtn*>(QStringLiteral("ExeBtn1"));
    const auto* sixth = form->findChild<TExeBtn*>(QStringLiteral("ExeBtn6"));
    ASSERT_TRUE(sixth->isVisible());
    EXPECT_EQ(sixth->ExeIconFile(), env.path("cut.ico"));
    EXPECT_TRUE(first->Picture().isNull());
    EXPECT_EQ(sixth->Picture(), first->Picture());
}

TEST_F(SlotsTest, SlotPartsSitOnTheirPagesWithHintsOnGroupOneOnly)
{
    Start();
    EXPECT_EQ(form->SlotCommands().Button(1)->geometry(), QRect(4, 3, 37, 36));
    EXPECT_EQ(form->SlotCommands().Button(5)->geometry(), QRect(4, 3, 37, 36));
    EXPECT_EQ(form->SlotCommands().Button(9)->geometry(), QRect(3, 3, 37, 36));
    EXPECT_EQ(form->SlotCommands().Button(12)->geometry(), QRect(131, 3, 37, 36));
    EXPECT_EQ(form->SlotCommands().Button(6)->parentWidget()->objectName(), QStringLiteral("PageGroup2"));
    EXPECT_EQ(ParamLabel(*form, 8)->pos(), QPoint(158, 38));
    EXPECT_FALSE(form->SlotCommands().Button(4)->toolTip().isEmpty());
    EXPECT_TRUE(form->SlotCommands().Button(5)->toolTip().isEmpty());
    EXPECT_TRUE(ParamLabel(*form, 5)->toolTip().isEmpty());
}

TEST_F(SlotsTest, AddingGoesToThePressedSlotInSortedPlace)
{
    Start();
    ClickParam(2); // the current slot is now 2
    env.dialogs.chosenFiles = {QStringLiteral("/docs/m.txt"), QStringLiteral("/docs/Zebra.txt"),
                               QStringLiteral("/other/A file.txt")};
    Choose(6, Add);
    Choose(6, Add);
    Choose(6, Add);
    EXPECT_EQ(List(6),
              "A file.txt    */other/A file.txt\r\nm.txt    */docs/m.txt\r\nZebra.txt    */docs/Zebra.txt\r\n");
    EXPECT_EQ(Entries(6), QStringList({"A file.txt", "m.txt", "Zebra.txt"}));
    EXPECT_EQ(List(2), "<missing>");
    ASSERT_EQ(env.dialogs.fileRequests.size(), 3u);
    const platform::OpenFileRequest& last = env.dialogs.fileRequests.back();
    EXPECT_EQ(last.filterIndex, 1);
    EXPECT_EQ(last.fileName, QStringLiteral("/docs/Zebra.txt")) << "the dialog keeps the last chosen name";
    ASSERT_EQ(last.filters.size(), 6);
    EXPECT_EQ(last.filters[0].patterns, QStringLiteral("*"));
    EXPECT_EQ(last.filters[5].description, QStringLiteral("HTML files"));
}

TEST_F(SlotsTest, AssigningKeepsEntriesAndFlagAndAcceptsTypedNames)
{
    env.write("flist3.dll", "a.txt    */d/a.txt\r\n");
    env.write("FILE.INI", "[EXE]\r\nParam3=1\r\n");
    Start();
    env.dialogs.chosenFiles = {QStringLiteral("/nowhere/tool"), std::nullopt};
    Choose(3, Assign);
    EXPECT_EQ(form->SlotCommands().Button(3)->ExeFile(), "/nowhere/tool");
    EXPECT_EQ(form->SlotCommands().Button(3)->ExeIconFile(), "/nowhere/tool");
    EXPECT_NE(env.settings().find("EXE3=/nowhere/tool\r\n"), std::string::npos);
    EXPECT_EQ(Entries(3), QStringList({"a.txt"}));
    EXPECT_TRUE(form->SlotCommands().ParamOn(3));

    const std::string before = env.settings();
    Choose(3, Assign); // cancelled
    EXPECT_EQ(env.settings(), before);
    EXPECT_EQ(form->SlotCommands().Button(3)->ExeFile(), "/nowhere/tool");
}

TEST_F(SlotsTest, ClearingAsksFirst)
{
    env.write("FILE.INI", "[EXE]\r\nEXE5=/bin/tool\r\nParam5=1\r\n");
    Start();
    env.dialogs.answers = {platform::MessageAnswer::No, platform::MessageAnswer::Yes};
    Choose(5, Clear);
    EXPECT_EQ(form->SlotCommands().Button(5)->ExeFile(), "/bin/tool");
    EXPECT_EQ(List(5), "<missing>");

    Choose(5, Clear);
    ASSERT_EQ(env.dialogs.messages.size(), 2u);
    EXPECT_EQ(env.dialogs.messages[1].text,
              QStringLiteral("Do you really want to clear out main file and all menu items for this button?"));
    EXPECT_EQ(env.dialogs.messages[1].title, QStringLiteral("Information"));
    EXPECT_EQ(env.dialogs.messages[1].buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(form->SlotCommands().Button(5)->ExeFile(), "");
    EXPECT_EQ(form->SlotCommands().Button(5)->ExeIconFile(), env.path("empty.ico"));
    EXPECT_NE(env.settings().find("EXE5=\r\n"), std::string::npos);
    EXPECT_EQ(List(5), "");
    EXPECT_TRUE(form->SlotCommands().ParamOn(5));
}

TEST_F(SlotsTest, ParamLabelTogglesAndStoresTheFlag)
{
    Start();
    ClickParam(7);
    EXPECT_TRUE(form->SlotCommands().ParamOn(7));
    EXPECT_EQ(ParamLabel(*form, 7)->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    EXPECT_NE(env.settings().find("Param7=1\r\n"), std::string::npos);
    ClickParam(7);
    EXPECT_FALSE(form->SlotCommands().ParamOn(7));
    EXPECT_NE(env.settings().find("Param7=0\r\n"), std::string::npos);
    EXPECT_EQ(form->SlotCommands().CurrentSlot(), 7);
}

// On this desktop a double click is a click and then a double-click event, not two clicks:
// X11 delivers press, release, double click, release.
TEST_F(SlotsTest, ADoubleClickOnAOrPIsOneClick)
{
    const auto doubleClick = [](QWidget* label) {
        QTest::mouseClick(label, Qt::LeftButton);
        QTest::mouseDClick(label, Qt::LeftButton);
        QTest::mouseRelease(label, Qt::LeftButton);
    };
    env.write("FILE.INI", "[EXE]\r\nEXE3=/tools/main\r\n");
    Start();
    doubleClick(ParamLabel(*form, 3));
    EXPECT_TRUE(form->SlotCommands().ParamOn(3));
    EXPECT_NE(env.settings().find("Param3=1\r\n"), std::string::npos);
    doubleClick(form->findChild<widgets::TClickLabel*>(QStringLiteral("LabelLaunchAll3")));
    EXPECT_EQ(env.shell.starts.size(), 1u);
}

// A screen reader's actions on "A" and "P" do what clicks do, and "P" reads as checked exactly
// while its flag is on, from the stored flags on.
TEST_F(SlotsTest, ScreenReadersWorkAAndPAsClicksDo)
{
    env.write("FILE.INI", "[EXE]\r\nEXE3=/tools/main\r\nParam2=1\r\n");
    Start();
    const auto accessible = [this](const char* prefix, int slot) {
        return QAccessible::queryAccessibleInterface(form->findChild<QWidget*>(prefix + QString::number(slot)));
    };
    EXPECT_TRUE(accessible("LabelParam", 2)->state().checked);
    QAccessibleInterface* param = accessible("LabelParam", 3);
    EXPECT_FALSE(param->state().checked);

    param->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    accessible("LabelLaunchAll", 3)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents(); // the actions click once the screen reader has its answer
    EXPECT_TRUE(param->state().checked);
    EXPECT_NE(env.settings().find("Param3=1\r\n"), std::string::npos);
    EXPECT_EQ(env.shell.starts.size(), 1u);
}

// Files dragged from a file manager onto a slot's button, as the menu's commands store them.
TEST_F(SlotsTest, DroppedFilesFillTheSlot)
{
    env.write("FILE.INI", "[EXE]\r\nEXE3=/bin/main\r\n");
    Start();
    const auto drop = [&](int slot, const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form->SlotCommands().Button(slot), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form->SlotCommands().Button(slot), &dropped);
        return true;
    };
    const auto file = [](const char* path) { return QUrl::fromLocalFile(QString::fromUtf8(path)); };

    EXPECT_TRUE(drop(2, {file("/d/tool"), file("/d/b.txt"), QUrl("https://example.org/x"), file("/d/A.txt")}));
    EXPECT_EQ(form->SlotCommands().Button(2)->ExeFile(), "/d/tool");
    EXPECT_NE(env.settings().find("EXE2=/d/tool\r\n"), std::string::npos);
    EXPECT_EQ(List(2), "A.txt    */d/A.txt\r\nb.txt    */d/b.txt\r\n");
    EXPECT_EQ(Entries(2), QStringList({"A.txt", "b.txt"}));

    EXPECT_TRUE(drop(3, {file("/d/c d.txt")}));
    EXPECT_EQ(form->SlotCommands().Button(3)->ExeFile(), "/bin/main");
    EXPECT_EQ(List(3), "c d.txt    */d/c d.txt\r\n");

    const std::string before = env.settings();
    EXPECT_FALSE(drop(4, {QUrl("https://example.org/page.html")}));
    EXPECT_TRUE(drop(4, {file("/d/line\nbreak"), file("/d/e.txt")}));
    ASSERT_EQ(env.dialogs.messages.size(), 1u);
    EXPECT_EQ(env.dialogs.messages[0].text,
              QStringLiteral("A file whose name holds a line break cannot be assigned to a button."));
    EXPECT_EQ(form->SlotCommands().Button(4)->ExeFile(), "");
    EXPECT_EQ(List(4), "e.txt    */d/e.txt\r\n");
    EXPECT_EQ(env.settings(), before);
}

TEST_F(SlotsTest, DeleteDialogRemovesTheSelectedLineOnly)
{
    env.write("flist4.dll", "a    */x/a\r\nb    */x/b\r\nc    */x/c\r\n");
    Start();
    int shown = 0;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        ++shown;
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Delete"));
        EXPECT_EQ(dialog->size(), QSize(358, 185));
        EXPECT_EQ(dialog->pos(), QPoint((1024 - 358) / 2, (768 - 185) / 2)) << "centred on the screen";
        auto* list = dialog->findChild<QListWidget*>(QStringLiteral("ListBox1"));
        auto* remove = dialog->findChild<QPushButton*>(QStringLiteral("ButtonDelete"));
        EXPECT_EQ(list->count(), 3);
        EXPECT_EQ(list->item(1)->text(), QStringLiteral("b    */x/b"));
        QTest::mouseClick(remove, Qt::LeftButton);
        EXPECT_TRUE(dialog->isVisible()) << "nothing was selected";
        list->setCurrentRow(1);
        QTest::mouseClick(remove, Qt::LeftButton);
    });
    Choose(4, Remove);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(List(4), "a    */x/a\r\nc    */x/c\r\n");
    EXPECT_EQ(Entries(4), QStringList({"a", "c"}));
}

TEST_F(SlotsTest, ListThatCannotBeStoredIsReportedAndTheMenuKeepsItsEntries)
{
    env.write("flist6.dll", "old    */x/old\r\n");
    Start();
    fs::remove(env.path("flist6.dll"));
    fs::create_directory(env.path("flist6.dll")); // nothing can replace a directory
    env.dialogs.chosenFiles = {QStringLiteral("/docs/new.txt")};
    Choose(6, Add);

    ASSERT_EQ(env.dialogs.messages.size(), 1u);
    EXPECT_EQ(env.dialogs.messages[0].text,
              QString::fromStdString("Cannot create file " + env.path("flist6.dll") + "."));
    EXPECT_EQ(env.dialogs.messages[0].title, QStringLiteral("Stackle"));
    EXPECT_EQ(Entries(6), QStringList({"old"}));
}

// A name the files could not give back as it was chosen is refused with a message, and nothing
// is stored: a line break would add lines of its own to the settings file or to the list, and
// blanks at either end of a stored main file would be lost.
TEST_F(SlotsTest, NamesTheFilesCannotHoldAreRefused)
{
    env.write("FILE.INI", "[EXE]\r\nEXE1=/bin/one\r\nEXE2=/bin/two\r\n");
    env.write("flist1.dll", "old    */x/old\r\n");
    Start();
    const std::string settings = env.settings();
    const struct {
        int command;
        QString file;
        QString message;
    } refused[] = {
        {Add, "/d/a\n[EXE]\nEXE2=/bin/x", "A file whose name holds a line break cannot be added to a pop-up list."},
        {Assign, "/d/report\r\nXPos=3000", "A file whose name holds a line break cannot be assigned to a button."},
        {Assign, "/d/tool ", "A file whose name begins or ends with a blank cannot be assigned to a button."},
        {Assign, "\t/d/tool", "A file whose name begins or ends with a blank cannot be assigned to a button."},
        {Assign, "/" + QString(1100, 'x'),
         "A file whose name is longer than 1023 characters cannot be assigned to a button."},
    };
    for (const auto& file : refused) {
        env.dialogs.messages.clear();
        env.dialogs.chosenFiles = {file.file};
        Choose(1, file.command);
        ASSERT_EQ(env.dialogs.messages.size(), 1u) << file.file.toStdString();
        EXPECT_EQ(env.dialogs.messages[0].text, file.message);
        EXPECT_EQ(env.dialogs.messages[0].title, QStringLiteral("Stackle"));
    }
    EXPECT_EQ(List(1), "old    */x/old\r\n");
    EXPECT_EQ(Entries(1), QStringList({"old"}));
    EXPECT_EQ(env.settings(), settings);
    EXPECT_EQ(form->SlotCommands().Button(1)->ExeFile(), "/bin/one");
}

TEST_F(SlotsTest, DeleteDialogThatCannotStoreReportsAndStaysOpen)
{
    env.write("flist4.dll", "a    */x/a\r\nb    */x/b\r\n");
    Start();
    bool stayedOpen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        fs::remove(env.path("flist4.dll"));
        fs::create_directory(env.path("flist4.dll")); // nothing can replace a directory
        dialog->findChild<QListWidget*>(QStringLiteral("ListBox1"))->setCurrentRow(0);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("ButtonDelete")), Qt::LeftButton);
        stayedOpen = dialog->isVisible();
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("ButtonCancel")), Qt::LeftButton);
    });
    Choose(4, Remove);
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(env.dialogs.messages.size(), 1u);
    EXPECT_EQ(env.dialogs.messages[0].text,
              QString::fromStdString("Cannot create file " + env.path("flist4.dll") + "."));
    EXPECT_EQ(Entries(4), QStringList({"a", "b"}));
}

TEST_F(SlotsTest, ReadOnlySettingsKeepAGreenFlagForTheRunOnly)
{
    env.write("FILE.INI", "[Help]\r\nVisible=0\r\n");
    namespace fs = std::filesystem;
    fs::permissions(env.directory(), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(env.path("FILE.INI"), fs::perms::owner_read | fs::perms::others_read);
    const int failures = doubles::RunUnprivileged([&] {
        TForm1 window(env.platform(), store, host);
        window.FormCreate();
        QTest::mouseClick(ParamLabel(window, 1), Qt::LeftButton);
        return window.SlotCommands().ParamOn(1) && env.dialogs.messages.empty() ? 0 : 1;
    });
    EXPECT_EQ(failures, 0);
    EXPECT_FALSE(Start().SlotCommands().ParamOn(1));
}

} // namespace
