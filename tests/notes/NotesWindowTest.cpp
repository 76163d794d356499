#include "notes/NotesWindowTest.h"

#include "storage/IniFile.h"

#include <filesystem>

namespace {

std::string StoredName(const doubles::TestPlatform& env, int note)
{
    return TIniFile(env.path("FILE.INI")).Read(settings::NoteName(note));
}

TEST_F(NotesWindowTest, FirstOpeningShowsDefaultNamesAndStoresThemOnExit)
{
    TFormPostIt& window = Open();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Notes"));
    EXPECT_EQ(window.size(), QSize(559, 321));
    EXPECT_EQ(window.pos(), QPoint(232, 223)) << "centred on the 1024 x 768 screen";
    EXPECT_FALSE(window.windowFlags() & Qt::WindowCloseButtonHint);
    for (int note = 1; note <= 8; ++note)
        EXPECT_EQ(Label(note)->text(), QStringLiteral("Note #%1").arg(note));
    EXPECT_EQ(MemoText(), QString());
    EXPECT_EQ(window.CurrentNote(), 1);
    EXPECT_FALSE(NameBox()->isVisible());

    Exit();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(Note(1), "");
    EXPECT_EQ(Note(2), std::nullopt);
    EXPECT_EQ(env.settings(),
              "[Notes]\r\nNote1=Note #1\r\nNote2=Note #2\r\nNote3=Note #3\r\nNote4=Note #4\r\n"
              "Note5=Note #5\r\nNote6=Note #6\r\nNote7=Note #7\r\nNote8=Note #8\r\n");
}

TEST_F(NotesWindowTest, SwitchingSavesTheNoteOnViewAndShowsTheClickedOne)
{
    TFormPostIt& window = Open();
    Type(Memo(), QStringLiteral("Shopping"));
    Enter(Memo()); // a new line in the memo, not a press of the default button
    Type(Memo(), QStringLiteral("milk"));
    EXPECT_EQ(MemoText(), QStringLiteral("Shopping\nmilk"));

    Click(3);
    EXPECT_EQ(window.CurrentNote(), 3);
    EXPECT_EQ(Note(1), "Shopping\r\nmilk");
    EXPECT_EQ(MemoText(), QString());
    EXPECT_EQ(Note(3), std::nullopt);

    Click(1);
    EXPECT_EQ(window.CurrentNote(), 1);
    EXPECT_EQ(MemoText(), QStringLiteral("Shopping\nmilk"));
    EXPECT_EQ(Note(3), "");

    Type(Memo(), QStringLiteral("!"));
    Click(1); // the note on view: saved and shown again
    EXPECT_EQ(Note(1), "!Shopping\r\nmilk");
    EXPECT_EQ(MemoText(), QStringLiteral("!Shopping\nmilk"));
    EXPECT_TRUE(env.dialogs.messages.empty());
}

TEST_F(NotesWindowTest, RenamingKeepsTwelveCharactersAndStoresOnExit)
{
    TFormPostIt& window = Open();
    DoubleClick(2);
    EXPECT_EQ(window.CurrentNote(), 2) << "the click before the double click switches the note";
    EXPECT_TRUE(NameBox()->isVisible());
    EXPECT_EQ(NameBox()->geometry(), QRect(448, Label(2)->y(), 105, 21));
    EXPECT_TRUE(NameBox()->hasFocus());
    Type(NameBox(), QStringLiteral("Grocery list for Sat"));
    Enter(NameBox());
    EXPECT_EQ(Label(2)->text(), QStringLiteral("Grocery list"));
    EXPECT_FALSE(NameBox()->isVisible());
    EXPECT_TRUE(Memo()->hasFocus());

    DoubleClick(4);
    Enter(NameBox());
    EXPECT_EQ(Label(4)->text(), QString());
    Click(1);
    Click(4); // an empty name is still a label to click
    EXPECT_EQ(window.CurrentNote(), 4);

    DoubleClick(6);
    NameBox()->insert(QStringLiteral("Two\r\nlines\nhere")); // pasted
    Enter(NameBox());
    EXPECT_EQ(Label(6)->text(), QStringLiteral("Two lines he"));

    Exit();
    EXPECT_EQ(StoredName(env, 2), "Grocery list");
    EXPECT_EQ(StoredName(env, 4), "");
    EXPECT_EQ(StoredName(env, 6), "Two lines he");
    EXPECT_NE(env.settings().find("Note4=\r\nNote5=Note #5\r\nNote6=Two lines he\r\n"), std::string::npos)
        << env.settings();
}

TEST_F(NotesWindowTest, EnterInTheMemoLeavesAnOpenRenameAndExitDropsIt)
{
    TFormPostIt& window = Open();
    DoubleClick(5);
    Type(NameBox(), QStringLiteral("Unfinished"));
    Click(7); // the name box stays open over label 5 meanwhile
    EXPECT_EQ(window.CurrentNote(), 7);
    EXPECT_TRUE(NameBox()->isVisible());
    Memo()->setFocus();
    Type(Memo(), QStringLiteral("a"));
    Enter(Memo());
    Type(Memo(), QStringLiteral("b"));
    EXPECT_EQ(MemoText(), QStringLiteral("a\nb"));
    EXPECT_EQ(Label(5)->text(), QStringLiteral("Note #5"));
    EXPECT_TRUE(NameBox()->isVisible());

    Exit();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(Note(7), "a\r\nb");
    EXPECT_EQ(StoredName(env, 5), "Note #5");
}

TEST_F(NotesWindowTest, StoredNamesShowWhole)
{
    env.write("FILE.INI", "[Notes]\r\nNote3=A stored name far longer than twelve\r\nNote8=a=b\r\n");
    Open();
    EXPECT_EQ(Label(3)->text(), QStringLiteral("A stored name far longer than twelve"));
    EXPECT_EQ(Label(8)->text(), QStringLiteral("a=b"));
    EXPECT_EQ(Label(1)->text(), QStringLiteral("Note #1"));
    Exit();
    EXPECT_EQ(StoredName(env, 3), "A stored name far longer than twelve");
    EXPECT_EQ(StoredName(env, 8), "a=b");
}

// Tab moves the focus on from the memo, which takes no tabs, to the next control on view: past
// the hidden name box and the "New Label" button that the memo covers. Pressing that button
// without an earlier double-click changes no label.
TEST_F(NotesWindowTest, TabMovesTheFocusOnToShownControlsOnlyAndNewLabelAloneRenamesNothing)
{
    Open();
    Memo()->setFocus();
    QTest::keyClick(Memo(), Qt::Key_Tab);
    EXPECT_EQ(MemoText(), QString());
    EXPECT_TRUE(Button("ButtonClose")->hasFocus());
    QTest::keyClick(Button("ButtonClose"), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_TRUE(Memo()->hasFocus());
    Button("Button1")->click();
    for (int note = 1; note <= 8; ++note)
        EXPECT_EQ(Label(note)->text(), QStringLiteral("Note #%1").arg(note));
    EXPECT_TRUE(Memo()->hasFocus());
}

// The window system's close and Escape, from the memo or from the name box of a rename under
// way, both leave as "E&xit" does: the note on view is saved, the uncommitted name dropped.
TEST_F(NotesWindowTest, ClosingThroughTheWindowSystemOrEscapeSavesLikeExit)
{
    for (const bool escape : {false, true}) {
        TFormPostIt& window = Open();
        const int note = escape ? 4 : 3;
        Click(note);
        Type(Memo(), QStringLiteral("kept"));
        if (escape) {
            DoubleClick(2);
            Type(NameBox(), QStringLiteral("dropped"));
            QTest::keyClick(NameBox(), Qt::Key_Escape);
        } else {
            window.close();
        }
        EXPECT_FALSE(window.isVisible()) << escape;
        EXPECT_EQ(Note(note), "kept") << escape;
        EXPECT_EQ(StoredName(env, 2), "Note #2") << escape;
    }
}

// Shift+Enter breaks a line within a paragraph: it is a line break of the note like Enter.
TEST_F(NotesWindowTest, ShiftEnterIsALineBreakToo)
{
    Open();
    Memo()->setFocus();
    Type(Memo(), QStringLiteral("a"));
    QTest::keyClick(Memo(), Qt::Key_Return, Qt::ShiftModifier);
    Type(Memo(), QStringLiteral("b"));
    Exit();
    EXPECT_EQ(Note(1), "a\r\nb");
}

// Line breaks of other editors, and the text after a zero byte, which is not shown: a note the
// user leaves alone keeps its bytes; once edited it is stored with CR LF.
TEST_F(NotesWindowTest, ForeignLineBreaksShowAsLinesAndAreStoredWithCrLfOnceEdited)
{
    const std::string foreign = std::string("one\ntwo\rthree\r\nfour\0hidden", 26);
    env.write("note1.dat", foreign);
    Open();
    EXPECT_EQ(MemoText(), QStringLiteral("one\ntwo\nthree\nfour"));
    Click(2);
    Click(1);
    EXPECT_EQ(Note(1), foreign);

    QTest::keyClick(Memo(), Qt::Key_End, Qt::ControlModifier);
    Type(Memo(), QStringLiteral("!"));
    Exit();
    EXPECT_EQ(Note(1), "one\r\ntwo\r\nthree\r\nfour!");
}

TEST_F(NotesWindowTest, ByteOrderMarkAndParagraphBreakLeaveAnUntouchedUtf8NoteAsItWas)
{
    const std::string note = "\xEF\xBB\xBF"
                             "caf\xC3\xA9\xE2\x80\xA9"
                             "two";
    env.write("note1.dat", note);
    Open();
    EXPECT_EQ(MemoText(), QChar(0xFEFF) + QString::fromUtf8("café\ntwo"));
    env.write("note2.dat", "one\xE2\x80\xA9two");
    Click(2);
    Click(3);
    Exit();
    EXPECT_EQ(Note(1), note);
    EXPECT_EQ(Note(2), "one\xE2\x80\xA9two");
}

TEST_F(NotesWindowTest, Windows1252NoteShowsReadablyAndSurvivesByteForByte)
{
    // "Café € 5", "naïve “quoted”", a non-breaking space and a byte the code page leaves free.
    const std::string western = "Caf\xE9 \x80 5\r\nna\xEFve \x93quoted\x94\r\n\xA0nbsp\x81";
    env.write("note2.dat", western);
    env.write("note3.dat", "caf\xC3\xA9"); // valid in the locale's encoding
    Open();
    Click(2);
    EXPECT_EQ(MemoText(), QString::fromUtf8("Café € 5\nnaïve “quoted”\n\u00A0nbsp\u0081"));
    Click(3);
    EXPECT_EQ(MemoText(), QString::fromUtf8("café"));
    Click(2);
    Exit();
    EXPECT_EQ(Note(2), western);
    EXPECT_EQ(Note(3), "caf\xC3\xA9");

    // Edited, it stays in its code page while that holds every character.
    Open();
    Click(2);
    QTest::keyClick(Memo(), Qt::Key_End, Qt::ControlModifier);
    Memo()->insertPlainText(QString::fromUtf8("ü"));
    Click(4);
    EXPECT_EQ(Note(2), western + "\xFC");
    Click(2);
    EXPECT_EQ(MemoText(), QString::fromUtf8("Café € 5\nnaïve “quoted”\n\u00A0nbsp\u0081ü"));
    QTest::keyClick(Memo(), Qt::Key_End, Qt::ControlModifier);
    Memo()->insertPlainText(QString::fromUtf8("→"));
    Exit();
    EXPECT_EQ(
        Note(2),
        "Caf\xC3\xA9 \xE2\x82\xAC 5\r\nna\xC3\xAFve \xE2\x80\x9Cquoted\xE2\x80\x9D\r\n\xC2\xA0nbsp\xC2\x81\xC3\xBC"
        "\xE2\x86\x92");
}

// A name stored in Windows-1252 shows readably and, left alone, goes back byte for byte; a new
// name for it is stored in that code page as well, as a note's text is.
TEST_F(NotesWindowTest, Windows1252NameShowsReadablyAndSurvivesByteForByte)
{
    env.write("FILE.INI", "[Notes]\r\nNote6=Caf\xE9 \x80\r\nNote7=Tea\r\n");
    Open();
    EXPECT_EQ(Label(6)->text(), QString::fromUtf8("Café €"));
    DoubleClick(7);
    NameBox()->insert(QString::fromUtf8("Thé"));
    Enter(NameBox());
    Exit();
    EXPECT_EQ(StoredName(env, 6), "Caf\xE9 \x80");
    EXPECT_EQ(StoredName(env, 7), "Th\xC3\xA9");

    env.write("FILE.INI", "[Notes]\r\nNote6=Caf\xE9 \x80\r\n");
    Open();
    DoubleClick(6);
    NameBox()->insert(QString::fromUtf8("Thé"));
    Enter(NameBox());
    Exit();
    EXPECT_EQ(StoredName(env, 6), "Th\xE9");
}

// A note that cannot be stored, for a cause that holds for root too: its file's name is taken
// by a folder.
TEST_F(NotesWindowTest, FailedSaveIsReportedAndStopsTheAction)
{
    std::filesystem::create_directories(env.path("note1.dat") + "/inside");
    TFormPostIt& window = Open();
    EXPECT_TRUE(env.dialogs.messages.empty()) << "a note that cannot be read shows empty, silently";
    Type(Memo(), QStringLiteral("precious"));

    Click(2);
    ASSERT_EQ(env.dialogs.messages.size(), 1u);
    EXPECT_EQ(env.dialogs.messages[0].title, QStringLiteral("Stackle"));
    EXPECT_EQ(env.dialogs.messages[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(env.dialogs.messages[0].text,
              QString::fromStdString("Cannot save note 1 in the file " + env.path("note1.dat") + ": Is a directory."));
    EXPECT_EQ(window.CurrentNote(), 1);
    EXPECT_EQ(MemoText(), QStringLiteral("precious"));

    DoubleClick(3);
    Type(NameBox(), QStringLiteral("Renamed"));
    Enter(NameBox());
    Exit();
    EXPECT_EQ(env.dialogs.messages.size(), 3u); // the double click's click, then "E&xit"
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(MemoText(), QStringLiteral("precious"));
    EXPECT_EQ(env.read("FILE.INI"), std::nullopt) << "no name is stored while the note is not";
    EXPECT_TRUE(std::filesystem::is_directory(env.path("note1.dat")));
}

// A note left alone is never written: a file that cannot be read stays as it is.
TEST_F(NotesWindowTest, UnreadableNoteLeftAloneIsNotOverwritten)
{
    std::filesystem::create_directories(env.path("note1.dat"));
    TFormPostIt& window = Open();
    Click(2);
    Exit();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(env.dialogs.messages.empty());
    EXPECT_TRUE(std::filesystem::is_directory(env.path("note1.dat")));
    EXPECT_EQ(Note(2), "");
}

TEST_F(NotesWindowTest, PrintsTheMemoLinesAsWrapped)
{
    TFormPostIt& window = Open();
    const QString paragraph = QStringLiteral("A paragraph long enough to wrap in the memo at its width, "
                                             "so that it shows on more than one line of the box");
    Memo()->setPlainText(paragraph + QStringLiteral("\nsecond\n\nlast\n"));
    const QStringList lines = window.MemoLines();
    ASSERT_GE(lines.size(), 5) << lines.join(u'|').toStdString();
    EXPECT_EQ(lines.sliced(0, lines.size() - 3).join(QString()), paragraph);
    EXPECT_EQ(lines.sliced(lines.size() - 3), QStringList({"second", "", "last"}));

    QTest::mouseClick(Button("ButtonPrint"), Qt::LeftButton);
    ASSERT_EQ(env.printer.jobs.size(), 1u);
    EXPECT_TRUE(env.printer.jobs[0].ended);
    std::vector<std::string> expected;
    int y = 0;
    for (const QString& line : lines) {
        if (!line.isEmpty())
            expected.push_back("0," + std::to_string(y) + " " + line.toStdString());
        y += line.isEmpty() ? 12 : 14;
    }
    EXPECT_EQ(env.printer.jobs[0].drawn, expected);
    EXPECT_EQ(Note(1), std::nullopt) << "printing saves nothing";

    Memo()->clear();
    QTest::mouseClick(Button("ButtonPrint"), Qt::LeftButton);
    ASSERT_EQ(env.printer.jobs.size(), 2u);
    EXPECT_TRUE(env.printer.jobs[1].ended) << "an empty memo still starts and ends a job";
    EXPECT_TRUE(env.printer.jobs[1].drawn.empty());
    EXPECT_TRUE(env.dialogs.messages.empty());
}

TEST_F(NotesWindowTest, PrinterFailuresAreReportedAndChangeNothing)
{
    env.write("note1.dat", "text");
    TFormPostIt& window = Open();
    env.printer.startFailure = "No default printer is set up";
    QTest::mouseClick(Button("ButtonPrint"), Qt::LeftButton);
    env.printer.startFailure.reset();
    env.printer.endFailure = "The printer refused";
    QTest::mouseClick(Button("ButtonPrint"), Qt::LeftButton);

    ASSERT_EQ(env.dialogs.messages.size(), 2u);
    EXPECT_EQ(env.dialogs.messages[0].text, QStringLiteral("No default printer is set up."));
    EXPECT_EQ(env.dialogs.messages[1].text, QStringLiteral("The printer refused."));
    EXPECT_EQ(env.dialogs.messages[1].title, QStringLiteral("Stackle"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(MemoText(), QStringLiteral("text"));
    EXPECT_EQ(window.CurrentNote(), 1);
    EXPECT_EQ(env.read("FILE.INI"), std::nullopt);
}

} // namespace
