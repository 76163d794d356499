#include "storage/FileList.h"

#include "doubles/Files.h"
#include "doubles/Unprivileged.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

class FileListTest : public ::testing::Test {
protected:
    QTemporaryDir dir{QDir::tempPath() + "/stackle-list-XXXXXX"};
    std::string directory = dir.path().toStdString() + "/";
    std::string path = FileListPath(directory, 6);

    std::string Content() const { return doubles::ReadFile(path); }
    void Write(const std::string& bytes) const { doubles::WriteFile(path, bytes); }

    // Adding a file as the slot menu does: load the list, add the file's line, store it.
    void AddFile(const std::string& file) const
    {
        TFileList list;
        list.LoadFromFile(path);
        list.Add(FileListLine(file));
        list.SaveToFile(path);
    }
};

TEST_F(FileListTest, ListFilesAreNamedAfterTheirSlot)
{
    EXPECT_EQ(FileListPath("/opt/stackle/", 1), "/opt/stackle/flist1.dll");
    EXPECT_EQ(FileListPath("/opt/stackle/", 12), "/opt/stackle/flist12.dll");
}

TEST_F(FileListTest, LinesHoldTwelveCharactersOfTheNameAndTheWholePath)
{
    EXPECT_EQ(FileListLine("/tools/Editor.exe"), "Editor.exe    */tools/Editor.exe");
    EXPECT_EQ(FileListLine("/docs/Presentation1996.ppt"), "Presentation    */docs/Presentation1996.ppt");
    EXPECT_EQ(FileListLine("/docs/Prüfungsergebnis.txt"), "Prüfungserge    */docs/Prüfungsergebnis.txt");
    EXPECT_EQ(FileListLine("/docs/日本語のファイル名です.txt"),
              "日本語のファイル名です.    */docs/日本語のファイル名です.txt");
    EXPECT_EQ(FileListLinePath("Editor.exe    */tools/Editor.exe"), "/tools/Editor.exe");
    EXPECT_EQ(FileListLineName("Editor.exe    */tools/Editor.exe"), "Editor.exe");
    EXPECT_EQ(FileListLinePath("/hand/made line"), "/hand/made line");
    EXPECT_EQ(FileListLineName("/hand/made line"), "/hand/made line");
}

// A file name may hold a star; the line still gives back its whole path and its name part.
TEST_F(FileListTest, NamesWithStarsKeepTheirPathAndName)
{
    const struct {
        const char* path;
        const char* name;
    } files[] = {{"/d/a*b.txt", "a*b.txt"},
                 {"/d/*", "*"},
                 {"/st*r dir/plain.txt", "plain.txt"},
                 {"/d/x    *y", "x    *y"},
                 {"/d/**    *  *.txt", "**    *  *.t"},
                 {"/docs/Presentation*1996*.ppt", "Presentation"}};
    for (const auto& file : files) {
        const std::string line = FileListLine(file.path);
        EXPECT_EQ(FileListLinePath(line), file.path) << line;
        EXPECT_EQ(FileListLineName(line), file.name) << line;
    }
}

// Lines as they have always been read, hand-made ones included.
TEST_F(FileListTest, LinesWithoutStarsInTheirNamesReadAsBefore)
{
    const struct {
        const char* line;
        const char* name;
        const char* path;
    } lines[] = {{"Editor.exe    */tools/Editor.exe", "Editor.exe", "/tools/Editor.exe"},
                 {"Renamed    */tools/Editor.exe", "Renamed", "/tools/Editor.exe"},
                 {"x*y", "x", "y"},
                 {"a*b    */x/c", "a", "b    */x/c"},
                 {"name    *", "name", ""},
                 {"/hand/made line", "/hand/made line", "/hand/made line"}};
    for (const auto& line : lines) {
        EXPECT_EQ(FileListLineName(line.line), line.name) << line.line;
        EXPECT_EQ(FileListLinePath(line.line), line.path) << line.line;
    }
}

TEST_F(FileListTest, SortingIgnoresTheCaseOfEveryLetter)
{
    for (const char* file : {"/x/Éb", "/x/b", "/x/éa", "/x/A", "/x/Ωmega", "/x/ωa"})
        AddFile(file);
    TFileList list;
    list.LoadFromFile(path);
    std::vector<std::string> names;
    for (const std::string& line : list.Lines())
        names.push_back(FileListLineName(line));
    EXPECT_EQ(names, (std::vector<std::string>{"A", "b", "éa", "Éb", "ωa", "Ωmega"}));
    EXPECT_TRUE(FileListLineLess("éa", "Éb"));
    EXPECT_FALSE(FileListLineLess("É", "é"));
    EXPECT_FALSE(FileListLineLess("é", "É"));
}

TEST_F(FileListTest, SlotWithoutAFileHasAnEmptyList)
{
    TFileList list;
    list.Add("stale");
    list.LoadFromFile(path);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(FileListTest, AddingKeepsTheListSortedWithoutRegardToCase)
{
    AddFile("/x/b.txt");
    EXPECT_EQ(Content(), "b.txt    */x/b.txt\r\n");
    AddFile("/y/A.TXT");
    AddFile("/x/b.txt");
    EXPECT_EQ(Content(), "A.TXT    */y/A.TXT\r\nb.txt    */x/b.txt\r\nb.txt    */x/b.txt\r\n");
}

TEST_F(FileListTest, HandEditedFileIsReadSortedAndWrittenBackSortedWithCrLf)
{
    Write("zeta    */z/zeta\nAlpha    */a/Alpha\r\nmid    */m/mid\rbeta    */b/beta");
    TFileList list;
    list.LoadFromFile(path);
    EXPECT_EQ(
        list.Lines(),
        (std::vector<std::string>{"Alpha    */a/Alpha", "beta    */b/beta", "mid    */m/mid", "zeta    */z/zeta"}));
    AddFile("/c/Charlie");
    EXPECT_EQ(Content(),
              "Alpha    */a/Alpha\r\nbeta    */b/beta\r\nCharlie    */c/Charlie\r\nmid    */m/mid\r\n"
              "zeta    */z/zeta\r\n");
}

TEST_F(FileListTest, ClearingLeavesAFileOfZeroBytes)
{
    AddFile("/x/b.txt");
    TFileList list;
    list.SaveToFile(path);
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(fs::file_size(path), 0u);
}

TEST_F(FileListTest, DeletingRemovesExactlyThatLine)
{
    for (const char* file : {"/a/one", "/a/two", "/b/two"})
        AddFile(file);
    TFileList list;
    list.LoadFromFile(path);
    list.Delete(1);
    list.SaveToFile(path);
    EXPECT_EQ(Content(), "one    */a/one\r\ntwo    */b/two\r\n");
}

TEST_F(FileListTest, AListThatCannotBeStoredRaisesAndKeepsItsContent)
{
    AddFile("/x/b.txt");
    const std::string before = Content();
    fs::permissions(directory, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(path, fs::perms::owner_read | fs::perms::others_read);

    const int result = doubles::RunUnprivileged([&] {
        TFileList list;
        list.LoadFromFile(path);
        if (list.Count() != 1)
            return 3;
        list.Add(FileListLine("/y/a.txt"));
        try {
            list.SaveToFile(path);
        } catch (const std::runtime_error& error) {
            return error.what() == "Cannot create file " + path ? 0 : 2;
        }
        return 1;
    });

    EXPECT_EQ(result, 0) << "1: stored, 2: wrong message, 3: could not read, 90: privileges";
    EXPECT_EQ(Content(), before);
    fs::permissions(directory, fs::perms::owner_all);
    EXPECT_THROW(TFileList().SaveToFile(directory + "missing/flist1.dll"), std::runtime_error);
}

} // namespace
