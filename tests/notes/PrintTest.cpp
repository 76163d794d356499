// Printing notes for real: the notes window prints through the system's print spooler on a
// spooler of the test's own, whose default printer writes PDF files, read back as text.
#include "notes/CupsSpooler.h"
#include "notes/NotesWindowTest.h"

#include "platform/printing/CupsPrinter.h"
#include "resources/ProgramFonts.h"

#include <QRegularExpression>

#include <memory>

namespace {

// The text of a PDF as laid out on its pages, a form feed after each page.
QString LaidOutText(const QString& pdf)
{
    return ToolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
}

// The text of each page of a PDF's laid out text, line by line, without blank lines and with
// each run of blanks as one.
std::vector<QStringList> PageTexts(const QString& laidOut)
{
    std::vector<QStringList> pages;
    for (const QString& page : laidOut.split(u'\f')) {
        QStringList lines;
        for (const QString& line : page.split(u'\n')) {
            if (!line.trimmed().isEmpty())
                lines << line.simplified();
        }
        pages.push_back(lines);
    }
    if (!pages.empty() && pages.back().isEmpty())
        pages.pop_back(); // after the last page's form feed
    return pages;
}

int PageCount(const QString& pdf)
{
    const auto match =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(ToolOutput(QStringLiteral("pdfinfo"), {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

class RealPrinterTest : public NotesWindowTest {
protected:
    static void SetUpTestSuite()
    {
        if (!CupsSpooler::Unavailable())
            spooler = new CupsSpooler;
    }
    static void TearDownTestSuite()
    {
        delete spooler;
        spooler = nullptr;
    }
    void SetUp() override
    {
        if (const auto why = CupsSpooler::Unavailable())
            GTEST_SKIP() << *why;
        ASSERT_TRUE(spooler->error().empty()) << spooler->error();
        env.printTo = &printer;
    }

    static CupsSpooler* spooler;
    platform::CupsPrinter printer{ProgramFontFamily()};
};

CupsSpooler* RealPrinterTest::spooler = nullptr;

TEST_F(RealPrinterTest, PrintsTheMemoLinesOnTheDefaultPrinter)
{
    spooler->RemovePrinter();
    ASSERT_TRUE(spooler->AddDefaultPdfPrinter()) << spooler->ErrorLog();
    TFormPostIt& window = Open();
    const QString paragraph = QStringLiteral("This paragraph is long enough to be wrapped by the memo at its width, "
                                             "so that each of its pieces is printed on a line of its own.");
    Memo()->setPlainText(paragraph + QStringLiteral("\nItem\tPrice\n\fOn the second page"));
    const QStringList lines = window.MemoLines();
    ASSERT_GE(lines.size(), 4) << "the paragraph does not wrap in the memo";

    QTest::mouseClick(Button("ButtonPrint"), Qt::LeftButton);
    ASSERT_TRUE(env.dialogs.messages.empty()) << env.dialogs.messages[0].text.toStdString();
    const QStringList pdfs = spooler->Pdfs(1);
    ASSERT_EQ(pdfs.size(), 1) << spooler->ErrorLog();

    EXPECT_EQ(PageCount(pdfs[0]), 2);
    QStringList firstPage;
    for (const QString& line : lines.first(lines.size() - 2))
        firstPage << line.trimmed();
    firstPage << QStringLiteral("Item Price");
    const std::vector<QStringList> expected = {firstPage, {QStringLiteral("On the second page")}};
    const QString layout = LaidOutText(pdfs[0]);
    const std::vector<QStringList> printed = PageTexts(layout);
    ASSERT_EQ(printed.size(), expected.size());
    for (std::size_t page = 0; page < expected.size(); ++page)
        EXPECT_EQ(printed[page].join(u'|').toStdString(), expected[page].join(u'|').toStdString())
            << "page " << page + 1;
    // The tab leaves a gap: "Price" stands at the first tab stop, well away from "Item".
    EXPECT_TRUE(layout.contains(QRegularExpression(QStringLiteral("Item {3,}Price")))) << layout.toStdString();
}

TEST_F(RealPrinterTest, WithoutAPrinterTheFailureIsReportedAndNothingChanges)
{
    spooler->RemovePrinter();
    const qsizetype printedBefore = spooler->Pdfs(0, 0).size();
    env.write("note1.dat", "keep\r\nme");
    TFormPostIt& window = Open();
    QTest::mouseClick(Button("ButtonPrint"), Qt::LeftButton);
    ASSERT_EQ(env.dialogs.messages.size(), 1u);
    EXPECT_EQ(env.dialogs.messages[0].title, QStringLiteral("Stackle"));
    EXPECT_EQ(env.dialogs.messages[0].text,
              QStringLiteral("No default printer is set up; choose one in the system's "
                             "printer settings and print again."));

    ASSERT_TRUE(spooler->AddDefaultPdfPrinter()) << spooler->ErrorLog();
    ASSERT_TRUE(spooler->RejectJobs());
    QTest::mouseClick(Button("ButtonPrint"), Qt::LeftButton);
    ASSERT_EQ(env.dialogs.messages.size(), 2u);
    EXPECT_TRUE(env.dialogs.messages[1].text.startsWith(
        QStringLiteral("The printer \"%1\" did not take the print job: ").arg(CupsSpooler::Queue)))
        << env.dialogs.messages[1].text.toStdString();

    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.CurrentNote(), 1);
    EXPECT_EQ(MemoText(), QStringLiteral("keep\nme"));
    EXPECT_EQ(Note(1), "keep\r\nme");
    EXPECT_EQ(env.read("FILE.INI"), std::nullopt);
    EXPECT_EQ(spooler->Pdfs(0, 0).size(), printedBefore);
    spooler->RemovePrinter();
}

} // namespace
