#include "exebtn/StartFile.h"

#include "doubles/FakePlatform.h"

#include <gtest/gtest.h>

namespace {

class StartFileTest : public ::testing::Test {
protected:
    doubles::TestPlatform env;
    doubles::EventLog log;
    int notified = 0;

    StartFileTest()
    {
        env.shell.log = &log;
        env.session.log = &log;
        env.dialogs.log = &log;
    }

    void Start(const TStartSettings& settings)
    {
        StartFile(
            settings,
            [this] {
                log.push_back("notify");
                ++notified;
            },
            env.platform());
    }

    static TStartSettings Settings(std::string file, std::string path = {})
    {
        TStartSettings settings;
        settings.ExeFile = std::move(file);
        settings.ExePath = std::move(path);
        return settings;
    }
};

TEST_F(StartFileTest, ShowCommandsMapToTheirShowValues)
{
    const std::pair<TShowCmd, int> table[] = {{TShowCmd::scNormal, 1},
                                              {TShowCmd::scMaximize, 3},
                                              {TShowCmd::scMinimize, 2},
                                              {TShowCmd::scHide, 0},
                                              {TShowCmd::scNA, 8}};
    for (const auto& [command, value] : table) {
        TStartSettings settings = Settings("/bin/edit");
        settings.ExeShowCmd = command;
        Start(settings);
        EXPECT_EQ(env.shell.starts.back().showValue, value);
    }
    EXPECT_EQ(sizeof(TShowCmd), 1u);
    EXPECT_EQ(sizeof(TLanguage), 1u);
}

TEST_F(StartFileTest, WorkingDirectoryIsTheGivenPathElseTheFilesDirectory)
{
    Start(Settings("/bin/edit", "/opt/edit"));
    Start(Settings("/bin/edit"));
    Start(Settings("notes.txt"));
    ASSERT_EQ(env.shell.starts.size(), 3u);
    EXPECT_EQ(env.shell.starts[0].directory, "/opt/edit");
    EXPECT_EQ(env.shell.starts[1].directory, "/bin/");
    EXPECT_EQ(env.shell.starts[2].directory, "");
}

TEST_F(StartFileTest, ParametersAreHandedOverUnchanged)
{
    TStartSettings settings = Settings("/usr/bin/editor");
    settings.ExeParams = "/home/me/My Docs/a b.txt";
    Start(settings);
    ASSERT_EQ(env.shell.starts.size(), 1u);
    EXPECT_FALSE(env.shell.starts[0].waited);
    EXPECT_EQ(env.shell.starts[0].parameters, "/home/me/My Docs/a b.txt");
}

TEST_F(StartFileTest, ASuccessfulStartShowsBusyCursorOnlyWhileStarting)
{
    Start(Settings("/bin/edit"));
    EXPECT_EQ(log, (doubles::EventLog{"notify", "cursor busy", "start /bin/edit", "cursor normal"}));
    EXPECT_TRUE(env.dialogs.messages.empty());
}

TEST_F(StartFileTest, EmptyFileNotifiesButStartsAndShowsNothing)
{
    Start(Settings(""));
    EXPECT_EQ(log, (doubles::EventLog{"notify"}));
}

TEST_F(StartFileTest, OneInstanceSkipsAProgramThatAlreadyRuns)
{
    env.shell.running = std::vector<std::string>{"/usr/lib/systemd", "/other/dir/EDIT", "bash"};
    TStartSettings settings = Settings("/x/Edit");
    settings.ExeOneInstance = true;
    Start(settings);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(notified, 0);

    settings.ExeOneInstance = false;
    Start(settings);
    EXPECT_EQ(env.shell.starts.size(), 1u);
}

TEST_F(StartFileTest, RunningInstancesCompareFileNamesUpperCasingOnlyAToZ)
{
    env.shell.running =
        std::vector<std::string>{"/a/EDIT.EXE", "/b/edit.exe", "edit.exe", "/c/edit.exe.old", "/d/ÉDIT.EXE"};
    EXPECT_EQ(CountRunningInstances("/x/Edit.exe", env.shell), 3);
    EXPECT_EQ(CountRunningInstances("/x/édit.exe", env.shell), 0);
    env.shell.running.reset(); // the processes cannot be listed: the start goes ahead
    EXPECT_EQ(CountRunningInstances("/x/Edit.exe", env.shell), 0);
    TStartSettings settings = Settings("/x/Edit.exe");
    settings.ExeOneInstance = true;
    Start(settings);
    EXPECT_EQ(env.shell.starts.size(), 1u);
}

TEST_F(StartFileTest, AFailedStartShowsOneErrorBoxAfterTheCursorIsBack)
{
    env.shell.result = 2;
    Start(Settings("/tools/calc"));
    EXPECT_EQ(log,
              (doubles::EventLog{"notify", "cursor busy", "start /tools/calc", "cursor normal",
                                 "message Error: File was not found.(/tools/calc)"}));
    ASSERT_EQ(env.dialogs.messages.size(), 1u);
    EXPECT_EQ(env.dialogs.messages[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(env.dialogs.messages[0].buttons, platform::MessageButtons::Ok);
}

TEST_F(StartFileTest, EveryResultAboveThirtyTwoIsSuccess)
{
    for (int result : {33, 42, 1000}) {
        env.shell.result = result;
        Start(Settings("/bin/edit"));
    }
    EXPECT_TRUE(env.dialogs.messages.empty());
}

TEST(StartFailureMessage, KnownCodesInBothLanguages)
{
    // Every text stays whole on its line, as it is shown.
    // clang-format off
    const struct {
        int code;
        const char* english;
        const char* german;
    } table[] = {
        {0, "System was out of memory, executable file was corrupt, or relocations were invalid.",
         "Zuwenig Speicher, ausführbare Datei war zerstört, Relokationswerte waren ungültig."},
        {2, "File was not found.(E:/Tools/calc.exe)", "Datei wurde nicht gefunden.(E:/Tools/calc.exe)"},
        {3, "Path was not found.", "Verzeichnis wurde nicht gefunden."},
        {5, "Attempt was made to dynamically link to a task, or there was a sharing or network-protection error.",
         "Gescheiterter dynamischer Link einer Task oder Fehler beim gemeinsamen Zugriff auf eine Datei im Netz."},
        {6, "Library required separate data segments for each task.", "Bibliothek forderte separate Datensegmente für jede Task an."},
        {8, "There was insufficient memory to start the application.", "Zuwenig Speicher, um die Anwendung zu starten."},
        {10, "Windows version was incorrect.", "Falsche Windows-Version."},
        {11, "Executable file was invalid. Either it was not a Windows application or there was an error in the .EXE image.",
         "Ungültige ausführbare Datei. Entweder keine Windows-Anwendung oder Fehler in der EXE-Datei."},
        {12, "Application was designed for a different operating system.", "Anwendung für ein anderes Betriebssystem."},
        {13, "Application was designed for MS-DOS 4.0.", "Anwendung für MS-DOS 4.0."},
        {14, "Type of executable file was unknown.", "Typ der ausführbaren Datei unbekannt."},
        {15, "Attempt was made to load a real-mode application (developed for an earlier version of Windows).",
         "Versuch, eine Real-Mode-Anwendung (für eine frühere Windows-Version) zu laden."},
        {16, "Attempt was made to load a second instance of an executable file containing multiple data segments",
         "Versuch, eine zweite Instanz einer ausführbaren Datei mit mehreren Datensegmenten zu laden."},
        {19, "Attempt was made to load a compressed executable file. The file must be decompressed before it can be loaded.",
         "Versuch, eine komprimierte ausführbare Datei zu laden."},
        {20, "Dynamic-link library (DLL) file was invalid. One of the DLLs required to run this application was corrupt.",
         "Ungültige dynamische Linkbibliothek (DLL)."},
        {21, "Application requires Microsoft Windows 32-bit extensions.", "Anwendung benötigt Windows-32-Bit-Erweiterungen."},
    };
    // clang-format on
    for (const auto& row : table) {
        EXPECT_EQ(StartFailureMessage(row.code, TLanguage::english, "E:/Tools/calc.exe"), row.english) << row.code;
        EXPECT_EQ(StartFailureMessage(row.code, TLanguage::german, "E:/Tools/calc.exe"), row.german) << row.code;
    }
}

TEST(StartFailureMessage, EveryOtherCodeIsUnknown)
{
    for (int code : {1, 4, 7, 9, 17, 18, 22, 26, 27, 28, 29, 30, 31, 32, -1, -1000}) {
        EXPECT_EQ(StartFailureMessage(code, TLanguage::english, "/x"), "Unknown Error.") << code;
        EXPECT_EQ(StartFailureMessage(code, TLanguage::german, "/x"), "Unbekannter Fehler.") << code;
    }
}

TEST_F(StartFileTest, GermanMessagesShowInGermanOnly)
{
    env.shell.result = 31;
    TStartSettings settings = Settings("/doc/report.xyz");
    settings.Language = TLanguage::german;
    Start(settings);
    ASSERT_EQ(env.dialogs.messages.size(), 1u);
    EXPECT_EQ(env.dialogs.messages[0].text, QStringLiteral("Unbekannter Fehler."));
    EXPECT_EQ(env.dialogs.messages[0].title, QStringLiteral("Error"));
}

TEST_F(StartFileTest, WaitingStartHidesTheMainWindowUntilTheProgramEnds)
{
    TStartSettings settings = Settings("/bin/tool");
    settings.ExecAndWait = true;
    settings.ExeParams = "report.txt";
    Start(settings);
    EXPECT_EQ(log,
              (doubles::EventLog{"notify", "cursor busy", "hide main window", "wait /bin/tool", "show main window",
                                 "cursor normal"}));
    EXPECT_EQ(env.shell.starts[0].parameters, "report.txt");

    log.clear();
    env.shell.result = -1;
    Start(settings);
    EXPECT_EQ(log.back(), "message Error: Unknown Error.");
    EXPECT_TRUE(env.session.mainWindowVisible);
}

} // namespace
