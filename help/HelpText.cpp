#include "help/HelpText.h"

#include <array>

namespace help {

namespace {

// The same for a right press on a launcher button and for any other press.
const QString AssignText = QStringLiteral(
    "\"Assign main button file\" chooses the button's main program: its icon then shows on the button, and a left "
    "click on the button starts it.");
const QString AddText = QStringLiteral(
    "\"Add pop-up menu files\" puts files into the button's pop-up menu, which keeps them in alphabetical order; "
    "choosing one there starts it.");

// The longest line of the memo's stored text.
constexpr int HelpLineWidth = 67;

// Whether block i (0-based) follows the block before it on the next line instead of after an
// empty line: blocks 8, 12 and 18 as the guide numbers them.
bool FollowsOnNextLine(std::size_t block)
{
    return block == 7 || block == 11 || block == 17;
}

// The help labels wrap their texts at word ends, and a hyphen counts as one: a hyphen within a
// word ("pop-up") becomes one that holds the word together on its line.
QString KeepWordsWhole(QString text)
{
    for (qsizetype i = 1; i + 1 < text.size(); ++i)
        if (text[i] == u'-' && text[i - 1].isLetter() && text[i + 1].isLetter())
            text[i] = QChar(0x2011); // non-breaking hyphen
    return text;
}

RegionTexts KeepWordsWhole(RegionTexts texts)
{
    texts.info1 = KeepWordsWhole(texts.info1);
    texts.info2 = KeepWordsWhole(texts.info2);
    for (std::optional<QString>* text : {&texts.info3, &texts.info4})
        if (*text)
            **text = KeepWordsWhole(**text);
    return texts;
}

} // namespace

const RegionTexts& TextsOf(HelpRegion region)
{
    static_assert(int(HelpRegion::ButtonOtherPress) == 12, "one entry below for every region");
    static const std::array<RegionTexts, 13> written = {{
        // Clock
        {QString(),
         QStringLiteral("The clock shows today's date and the time. Press on the clock, or on any bare part of the "
                        "black bar, and drag to move Stackle anywhere on the screen."),
         std::nullopt, std::nullopt},
        // Hands
        {QString(),
         QStringLiteral("The hand pointing up rolls the buttons up, leaving only the clock strip on the screen."),
         QStringLiteral("The hand pointing down makes the buttons and the tabs appear again."), std::nullopt},
        // Options
        {QString(),
         QStringLiteral("The Options button opens the options screen: there you change the tab headings, show or "
                        "hide the tabs, and choose the size of Stackle (clock and buttons, buttons only, or clock "
                        "only)."),
         std::nullopt, std::nullopt},
        // Notes
        {QString(), QStringLiteral("The yellow N box opens the notes screen with its 8 notepads."),
         QStringLiteral("Switch between the notes by clicking their titles. To rename a note, double-click its "
                        "title, type the new name and press Enter."),
         QStringLiteral("Type into a note, cut and paste as in any editor, and print the note with the print "
                        "button.")},
        // Minimise
        {QString(),
         QStringLiteral("The \"-\" button minimises Stackle: the strip goes away and only its icon stays in the "
                        "notification area (the system tray of your panel). A click on that icon brings the strip "
                        "back."),
         QStringLiteral("You can also bring Stackle back with Alt-Tab or from the taskbar."), std::nullopt},
        // Exit
        {QString(), QStringLiteral("Click here to quit Stackle."), std::nullopt, std::nullopt},
        // Arrows
        {QString(),
         QStringLiteral("The red arrows move one tab up or down, at any time. When the tabs are hidden, they are the "
                        "only way to change tabs."),
         QStringLiteral("Clicking an arrow is the same as clicking the next or the previous tab; click again to step "
                        "on through the tabs."),
         std::nullopt},
        // HelpButton
        {QString(), QStringLiteral("This brings up the help screen -- you are looking at it right now."), std::nullopt,
         std::nullopt},
        // Tabs
        {QString(),
         QStringLiteral("The tabs switch between the three pages of four program buttons and the Options page."),
         QStringLiteral("The tab headings, and the size and look of Stackle, are changed from the Options tab."),
         std::nullopt},
        // LaunchAll
        {QStringLiteral("\"A\" stands for Launch All: a click on it starts the button's main program and then every "
                        "file of its pop-up menu."),
         QStringLiteral("For example, when a task needs a mail program, a calendar and a spreadsheet, keep them in "
                        "one button and start them all at once."),
         QStringLiteral("Or keep all the programs for one activity, such as a music player, its playlist and the "
                        "volume control, in one button and start them with one click."),
         QStringLiteral("Files and programs must be stored in a button before \"A\" can launch them.")},
        // Param
        {QStringLiteral("\"P\" stands for Parameter: a click switches it between red (off, no effect) and green "
                        "(on)."),
         QStringLiteral("When \"P\" is green, a file chosen from the pop-up menu is sent as a parameter to the "
                        "button's main program. Example: a text editor is the main program and a web page is in the "
                        "pop-up menu."),
         QStringLiteral("With \"P\" green, choosing the page sends it to the editor, which opens it for editing."),
         QStringLiteral("With \"P\" red, the page is opened by the program your desktop uses for web pages, for "
                        "viewing.")},
        // ButtonRightPress
        {QStringLiteral("Right-clicking a button brings up its pop-up menu: assign a file, add files, delete single "
                        "files, or clear all."),
         AssignText, AddText,
         QStringLiteral("\"Delete a pop-up file\" removes one file from the list; \"Clear ALL files\" erases the "
                        "pop-up files and the main file.")},
        // ButtonOtherPress
        {QStringLiteral("The buttons store the programs and files you launch. A right click on a button brings up "
                        "its pop-up menu."),
         AssignText, AddText,
         QStringLiteral("Use a button to keep the files of one project, or a set of your favourite screen savers, "
                        "together in one place.")},
    }};
    static const std::array<RegionTexts, 13> texts = [] {
        std::array<RegionTexts, 13> shown;
        for (std::size_t i = 0; i < written.size(); ++i)
            shown[i] = KeepWordsWhole(written[i]);
        return shown;
    }();
    return texts[static_cast<std::size_t>(region)];
}

const std::vector<QString>& HelpBlocks()
{
    static const std::vector<QString> blocks = {
        // 1
        QStringLiteral("Welcome to Stackle, the quickest way to organise (group) and launch your programs and "
                       "files."),
        // 2
        QStringLiteral("The picture above is only a picture of Stackle: click on any part of it to see help on that "
                       "part. The real Stackle stays on the screen meanwhile, so you can try each part out as you "
                       "read."),
        // 3
        QStringLiteral("To move Stackle, press on the clock or on the black bar and drag it anywhere on the screen. "
                       "Its place is saved when you quit with the \"X\" beside the clock."),
        // 4
        QStringLiteral("Stackle stays on top of all other programs. The \"-\" button minimises it to the "
                       "notification area (the system tray of your panel), and a click on its icon there brings it "
                       "back. The \"X\" button quits Stackle."),
        // 5
        QStringLiteral("Each tab holds 4 buttons. Each button stores one main program, and further files in its "
                       "pop-up menu, which opens when you right-click the button."),
        // 6
        QStringLiteral("A button that reads \"none\" holds nothing yet. To give it a main file, right-click it, "
                       "choose \"Assign main button file\" and pick the file in the open dialog."),
        // 7
        QStringLiteral("For example, choose the program file of your text editor: its icon shows on the button, and "
                       "a click on the button starts the editor."),
        // 8, on the next line
        QStringLiteral("Note: a file without an icon of its own, such as a text file, shows the icon your desktop "
                       "gives its kind of file. It launches all the same, in the program your desktop opens it "
                       "with."),
        // 9
        QStringLiteral("To add files to the pop-up menu, right-click the button and choose \"Add pop-up menu "
                       "files\". The menu keeps its files in alphabetical order; they appear in it at the next right "
                       "click, and start when you choose them."),
        // 10
        QStringLiteral("Uses: keep a screen saver in a button, and several more screen savers in its pop-up menu."),
        // 11
        QStringLiteral("Or keep the web pages you edit most often under one button, instead of adding a shortcut for "
                       "each of them to your desktop's application menu, one step after another."),
        // 12, on the next line
        QStringLiteral("Stackle does the same in 3 steps and a few seconds."),
        // 13
        QStringLiteral("Group the documents of one project under one button, and launch several programs at once "
                       "with the \"A\" label. With 12 buttons on 3 tabs there is room for a lot."),
        // 14
        QStringLiteral("To delete a single pop-up item, choose \"Delete a pop-up file\". \"Clear ALL files\" "
                       "empties the button, and also removes its main program."),
        // 15
        QStringLiteral("Switch tabs by clicking them. There are 3 pages of buttons and the Options page, where you "
                       "change the tab labels and the size of Stackle. The red arrows step through the tabs too."),
        // 16
        QStringLiteral("Under each button are the \"A\" and \"P\" labels. \"A\" launches everything stored in the "
                       "button. \"P\" is red (off, the default) or green (on); when it is green, each file you "
                       "choose from the pop-up menu is sent as a parameter to the button's main program."),
        // 17
        QStringLiteral("For example, make a word processor the main program of a button and put text files in its "
                       "pop-up menu. With \"P\" green, choosing a text file opens it in the word processor."),
        // 18, on the next line
        QStringLiteral("Or put web pages in the pop-up menu of a button whose main program is a text editor: with "
                       "\"P\" green, the pages open in the editor instead of the browser."),
        // 19
        QStringLiteral("If you are unsure, leave the \"P\" labels red."),
        // 20
        QStringLiteral("What follows covers the items in the black bar at the top."),
        // 21
        QStringLiteral("The clock shows the date and the time; drag Stackle by it. The two pointing hands roll "
                       "Stackle up to the clock row and expand it again."),
        // 22
        QStringLiteral("The Options button opens the options screen: change the tab labels, hide the tabs, or "
                       "choose the clock-only or the buttons-only format."),
        // 23
        QStringLiteral("The yellow \"N\" square opens 8 notepads. Switch between them by their labels; a note is "
                       "saved by itself when you switch or leave. To rename a notepad, double-click its label, type "
                       "the name and press ENTER. The print button prints the note."),
        // 24
        QStringLiteral("The \"-\" button minimises Stackle to the notification area; Alt-Tab, the taskbar or a click "
                       "on Stackle's icon in the notification area bring it back, and a right click on that icon "
                       "offers Exit. The \"X\" buttons exit Stackle, and the \"?\" button opens this help."),
        // 25
        QStringLiteral("This help is always there: click the \"?\" button on Stackle whenever you need it. Enjoy "
                       "Stackle!"),
    };
    return blocks;
}

QStringList BreakAtBlanks(const QString& text, int width)
{
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
            lines << line;
            line.clear();
        }
        if (!line.isEmpty())
            line += QLatin1Char(' ');
        line += word;
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

QString HelpMemoText()
{
    const std::vector<QString>& blocks = HelpBlocks();
    QString text;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (i > 0)
            text += FollowsOnNextLine(i) ? QStringLiteral("\n") : QStringLiteral("\n\n");
        text += BreakAtBlanks(blocks[i], HelpLineWidth).join(QLatin1Char('\n'));
    }
    return text;
}

} // namespace help
