#include "notes/Postit.h"

#include "notes/PrinterStream.h"
#include "platform/Printer.h"
#include "platform/ProgramLocation.h"
#include "platform/Screen.h"
#include "platform/files/FileContent.h"
#include "platform/files/Paths.h"
#include "platform/session/ClickLabel.h"
#include "platform/session/PixelFont.h"
#include "platform/session/ProductName.h"
#include "platform/text/Characters.h"
#include "platform/text/Encoding.h"
#include "storage/IniFile.h"
#include "storage/ProgramFiles.h"
#include "ui_Postit.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextLayout>

#include <stdexcept>

namespace {

constexpr qsizetype NameLength = 12;

// A name as typed into the name box: at most 12 characters, and on one line, so that it can
// never break the settings file's lines. A pasted line break becomes the blank it shows as.
QString NameFromBox(QString typed)
{
    typed.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    for (QChar& c : typed) {
        if (c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return platform::FirstCharacters(typed, NameLength);
}

} // namespace

TFormPostIt::TFormPostIt(const platform::Platform& platform)
    : QDialog(nullptr,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint
                  | Qt::WindowStaysOnTopHint)
    , platform_(platform)
    , ui(std::make_unique<Ui::TFormPostIt>())
    , programDirectory_(platform.location.programDirectory())
{
    ui->setupUi(this);
    setFont(PixelFont(13, true));
    ui->Memo1->setFont(PixelFont(13, false));
    setFixedSize(size());
    move(platform::CentredOn(platform.screen.primarySize(), size()));
    for (int note = 1; note <= NoteCount; ++note) {
        TClickLabel* label = NoteLabel(note);
        // clang-format 14 takes Reported(&...)(label) for a declaration and writes "Reported (".
        // clang-format off
        connect(label, &TClickLabel::OnClick, this, [this, label] { Reported(&TFormPostIt::Label1Click)(label); });
        connect(label, &TClickLabel::OnDblClick, this,
                [this, label] { Reported(&TFormPostIt::Label1DblClick)(label); });
        // clang-format on
    }
    connect(ui->Button1, &QPushButton::clicked, this, Reported(&TFormPostIt::Button1Click));
    connect(ui->ButtonPrint, &QPushButton::clicked, this, Reported(&TFormPostIt::ButtonPrintClick));
    connect(ui->ButtonClose, &QPushButton::clicked, this, Reported(&TFormPostIt::ButtonCloseClick));
}

TFormPostIt::~TFormPostIt() = default;

TClickLabel* TFormPostIt::NoteLabel(int note) const
{
    const std::array labels = {ui->Label1, ui->Label2, ui->Label3, ui->Label4,
                               ui->Label5, ui->Label6, ui->Label7, ui->Label8};
    return labels[std::size_t(note - 1)];
}

int TFormPostIt::NoteOf(const TClickLabel* label) const
{
    for (int note = 1; note <= NoteCount; ++note) {
        if (NoteLabel(note) == label)
            return note;
    }
    throw std::logic_error("A click came from a label that is no note's");
}

std::string TFormPostIt::SettingsFile() const
{
    return SettingsFilePath(programDirectory_);
}

std::string TFormPostIt::NoteFile(int note) const
{
    return NoteFilePath(programDirectory_, note);
}

void TFormPostIt::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) // not when the window system merely restores the window
        platform::ReportFailure(platform_.dialogs, [this] { FormShow(); });
}

void TFormPostIt::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept(); // the window has no cancel: only "E&xit" leaves it
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFormPostIt::reject()
{
    platform::ReportFailure(platform_.dialogs, [this] { ButtonCloseClick(); });
}

QString TFormPostIt::MemoText() const
{
    QString text = ui->Memo1->document()->toRawText();
    // Enter ends a paragraph, Shift+Enter a line within it: both are line breaks of the note.
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

QStringList TFormPostIt::MemoLines() const
{
    QStringList lines;
    const QTextDocument* document = ui->Memo1->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        document->documentLayout()->blockBoundingRect(block); // lays the block out at the memo's width
        const QTextLayout* layout = block.layout();
        const QString text = block.text();
        if (layout->lineCount() == 0) {
            lines << text;
            continue;
        }
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            lines << text.mid(line.textStart(), line.textLength()).remove(QChar::LineSeparator);
        }
    }
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void TFormPostIt::LoadNote(int note)
{
    TNoteFile file = ReadNoteFile(NoteFile(note));
    if (file.bytes)
        ui->Memo1->setPlainText(file.text);
    else
        file.text = MemoText();
    shown_ = std::move(file);
}

void TFormPostIt::SaveCurrentNote()
{
    const std::string path = NoteFile(currentNote_);
    const QString text = MemoText();
    const bool unchanged = text == shown_.text;
    if (unchanged && platform::FileExists(path))
        return;
    std::string bytes = unchanged && shown_.bytes ? *shown_.bytes : NoteBytes(text, shown_.encoding);
    if (!platform::ReplaceFileContent(path, bytes))
        throw std::runtime_error("Cannot save note " + std::to_string(currentNote_) + " in the file " + path);
    shown_.bytes = std::move(bytes);
    shown_.text = text;
}

void TFormPostIt::FormShow()
{
    currentNote_ = 1;
    LoadNote(1);
    for (int note = 1; note <= NoteCount; ++note)
        NoteLabel(note)->setText(platform::FromBytes(TIniFile(SettingsFile()).Read(settings::NoteName(note))));
}

void TFormPostIt::Label1Click(TClickLabel* sender)
{
    SaveCurrentNote();
    currentNote_ = NoteOf(sender);
    ui->Memo1->clear();
    LoadNote(currentNote_);
}

void TFormPostIt::Label1DblClick(TClickLabel* sender)
{
    targetLabel_ = sender;
    ui->EditNameChange->move(ui->EditNameChange->x(), sender->y());
    ui->EditNameChange->clear();
    ui->EditNameChange->show();
    ui->EditNameChange->setFocus();
}

void TFormPostIt::Button1Click()
{
    if (targetLabel_)
        targetLabel_->setText(NameFromBox(ui->EditNameChange->text()));
    ui->EditNameChange->hide();
    ui->Memo1->setFocus();
}

void TFormPostIt::ButtonPrintClick()
{
    const QStringList lines = MemoLines();
    const std::unique_ptr<platform::PrintJob> job = platform_.printer.startJob(platform::ProductName());
    TPrinterStream stream(*job);
    for (const QString& line : lines)
        stream.WriteLine(line);
    job->end();
}

void TFormPostIt::ButtonCloseClick()
{
    SaveCurrentNote();
    for (int note = 1; note <= NoteCount; ++note) {
        const std::string name = platform::ToBytes(NoteLabel(note)->text());
        WriteIgnoringFailure(SettingsFile(), [&](const TIniFile& ini) { ini.Write(settings::NoteName(note), name); });
    }
    accept();
}
