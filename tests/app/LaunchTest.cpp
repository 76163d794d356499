#include "app/FormTest.h"
#include "exebtn/ExeBtn.h"
#include "widgets/ClickLabel.h"

#include "platform/desktop/LinuxShell.h"

#include "doubles/StartRecord.h"

#include <gtest/gtest.h>

#include <QMenu>
#include <QTest>

#include <filesystem>

namespace {

class LaunchTest : public FormTest {
protected:
    // Chooses the file entry at index from the slot's menu, as after a right press.
    void ChooseEntry(int slot, int index) { ChooseItem(RightPress(slot), FirstEntry + index); }
    void LaunchAll(int slot)
    {
        QTest::mouseClick(form->findChild<widgets::TClickLabel*>("LabelLaunchAll" + QString::number(slot)),
                          Qt::LeftButton);
    }
    std::vector<std::string> Started() const
    {
        std::vector<std::string> started;
        for (const auto& start : env.shell.starts)
            started.push_back(start.file + (start.parameters.empty() ? "" : " <" + start.parameters + ">"));
        return started;
    }
};

TEST_F(LaunchTest, EntryOpensOnItsOwnWithTheFlagOff)
{
    env.write("FILE.INI", "[EXE]\r\nEXE1=/tools/editor\r\n");
    env.write("flist1.dll", "readme.txt    */docs/a/readme.txt\r\nreadme.txt    */docs/b/readme.txt\r\n");
    Start();
    ChooseEntry(1, 1);
    ChooseEntry(1, 0);
    EXPECT_EQ(Started(), (std::vector<std::string>{"/docs/b/readme.txt", "/docs/a/readme.txt"}));
    EXPECT_EQ(env.shell.starts[0].directory, "/docs/b/");
}

TEST_F(LaunchTest, EntryIsTheMainProgramsParameterWithTheFlagOn)
{
    env.write("FILE.INI", "[EXE]\r\nEXE2=/tools/editor\r\nParam2=1\r\nParam3=1\r\n");
    env.write("flist2.dll", "a b.txt    */my docs/a b.txt\r\n");
    env.write("flist3.dll", "a b.txt    */my docs/a b.txt\r\n");
    Start();
    ChooseEntry(2, 0);
    ChooseEntry(3, 0); // no main file: the entry opens on its own
    EXPECT_EQ(Started(), (std::vector<std::string>{"/tools/editor </my docs/a b.txt>", "/my docs/a b.txt"}));
    EXPECT_EQ(env.shell.starts[0].directory, "/tools/");
}

TEST_F(LaunchTest, PopUpStartsTakeTheStoredMainFileAndTheButtonItsOwn)
{
    env.write("FILE.INI", "[EXE]\r\nEXE2=/stored/main\r\nParam2=1\r\n");
    env.write("flist2.dll", "x    */d/x\r\n");
    Start();
    form->SlotCommands().Button(2)->SetExeFile("/shown/main"); // as after an assignment that could not be stored
    ChooseEntry(2, 0);
    LaunchAll(2);
    QTest::mouseClick(form->SlotCommands().Button(2), Qt::LeftButton);
    EXPECT_EQ(Started(),
              (std::vector<std::string>{"/stored/main </d/x>", "/stored/main", "/stored/main </d/x>", "/shown/main"}));
}

TEST_F(LaunchTest, LaunchAllStartsTheMainFileThenTheListInOrder)
{
    env.write("FILE.INI", "[EXE]\r\nEXE5=/tools/main\r\nEXE6=/tools/main\r\nParam6=1\r\n");
    env.write("flist5.dll", "b.txt    */d/b.txt\r\nA.TXT    */d/A.TXT\r\n");
    env.write("flist6.dll", "b.txt    */d/b.txt\r\nA.TXT    */d/A.TXT\r\n");
    Start();
    LaunchAll(5);
    EXPECT_EQ(Started(), (std::vector<std::string>{"/tools/main", "/d/A.TXT", "/d/b.txt"}));
    EXPECT_EQ(form->SlotCommands().CurrentSlot(), 5);
    env.shell.starts.clear();
    LaunchAll(6);
    EXPECT_EQ(Started(), (std::vector<std::string>{"/tools/main", "/tools/main </d/A.TXT>", "/tools/main </d/b.txt>"}));
    env.shell.starts.clear();
    LaunchAll(7);
    EXPECT_TRUE(Started().empty());
    EXPECT_TRUE(env.dialogs.messages.empty());
}

TEST_F(LaunchTest, AFailedStartIsShownAndTheRestStillStart)
{
    env.write("FILE.INI", "[EXE]\r\nEXE1=/gone/main\r\n");
    env.write("flist1.dll", "a    */d/a\r\n");
    Start();
    doubles::EventLog log;
    env.shell.log = &log;
    env.dialogs.log = &log;
    env.shell.resultFor["/gone/main"] = 2;
    LaunchAll(1);
    EXPECT_EQ(log,
              (doubles::EventLog{"start /gone/main", "message Error: File was not found.(/gone/main)", "start /d/a"}));
}

TEST_F(LaunchTest, LeftClickWithTheFlagOnPassesNoParameter)
{
    env.write("FILE.INI", "[EXE]\r\nEXE1=/tools/main\r\nParam1=1\r\n");
    env.write("flist1.dll", "a    */d/a\r\n");
    Start();
    QTest::mouseClick(form->SlotCommands().Button(1), Qt::LeftButton);
    EXPECT_EQ(Started(), (std::vector<std::string>{"/tools/main"}));
}

// The whole way with real processes: a program as the slot's main file, its "P" on, and a
// pop-up file whose path holds blanks.
TEST_F(LaunchTest, RealProgramGetsTheEntryAsOneArgumentInItsOwnDirectory)
{
    namespace fs = std::filesystem;
    const std::string programDir = env.path("my tools");
    fs::create_directory(programDir);
    fs::copy_file(RECORD_ARGS, programDir + "/recorder");
    const std::string record = env.path("record");
    setenv("STACKLE_RECORD", record.c_str(), 1);
    env.write("FILE.INI", "[EXE]\r\nEXE1=" + programDir + "/recorder\r\nParam1=1\r\n");
    env.write("flist1.dll", "a b.txt    */my docs/a b.txt\r\n");
    platform::LinuxShell shell;
    Start(env.platformWith(shell));

    ChooseEntry(1, 0);
    doubles::WaitForRecord(record);
    unsetenv("STACKLE_RECORD");

    const std::vector<std::string> fields = doubles::RecordFields(env.read("record").value_or(""));
    ASSERT_EQ(fields.size(), 4u) << "working directory, process id, program, one argument";
    EXPECT_EQ(fields[0], programDir);
    EXPECT_EQ(fields[3], "/my docs/a b.txt");
    EXPECT_TRUE(env.dialogs.messages.empty());
}

// A list line keeps its path whole, so a listed file whose name ends in a blank, or holds a star,
// starts as itself.
TEST_F(LaunchTest, ListedNamesWithBlanksAndStarsStartAsThemselves)
{
    namespace fs = std::filesystem;
    const std::string record = env.path("record");
    setenv("STACKLE_RECORD", record.c_str(), 1);
    platform::LinuxShell shell;
    Start(env.platformWith(shell));
    for (const std::string name : {"trailing blank ", "st*r"}) {
        const std::string program = env.path(name);
        fs::copy_file(RECORD_ARGS, program);
        env.dialogs.chosenFiles = {QString::fromStdString(program)};
        QMenu* menu = RightPress(7);
        ChooseItem(menu, Add);
        int entry = -1;
        for (int i = FirstEntry; i < menu->actions().size(); ++i)
            if (menu->actions().at(i)->text() == QString::fromStdString(name).left(12))
                entry = i - FirstEntry;
        ASSERT_GE(entry, 0) << name;
        ChooseEntry(7, entry);
        doubles::WaitForRecord(record);
        const std::string recorded = env.read("record").value_or("");
        fs::remove(record);
        EXPECT_NE(recorded.find(std::string(1, '\0') + program + std::string(1, '\0')), std::string::npos) << name;
    }
    unsetenv("STACKLE_RECORD");
    EXPECT_TRUE(env.dialogs.messages.empty());
}

} // namespace
