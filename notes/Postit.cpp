#include "notes/Postit.h"

#include "notes/PrinterStream.h"
#include "platform/Printer.h"
#include "platform/ProgramLocation.h"
#include "platform/Screen.h"
#include "platform/files/FileContent.h"
#include "platform/files/Paths.h"
#include "platform/session/FramePlacement.h"
#include "platform/session/ProductName.h"
#include "platform/text/Characters.h"
#include "platform/text/Encoding.h"
#include "storage/ProgramFiles.h"
#include "storage/Settings.h"
#include "ui_Postit.h"
#include "widgets/ClickLabel.h"
#include "widgets/PixelFont.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextLayout>

#include <functional>
#include <stdexcept>

namespace {

constexpr qsizetype NameLength = 12;

// A name as typed into the name box: at most 12 characters, and on one line, so that it can
// never break the settings file's lines. A pasted line break becomes the blank it shows as.
QString NameFromBox(const QString& typed)
{
    return platform::FirstCharacters(platform::OneLine(typed), NameLength);
}

} // namespace

TFormPostIt::TFormPostIt(const platform::Platform& platform, const TSettings& settings)
    : QDialog(nullptr,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint
                  | Qt::WindowStaysOnTopHint)
    , platform_(platform)
    , settings_(settings)
    , ui(std::make_unique<Ui::TFormPostIt>())
    , dataDirectory_(platform.location.DataDirectory())
{
    ui->setupUi(this);
    setFont(widgets::PixelFont(13, true));
    ui->Memo1->setFont(widgets::PixelFont(13, false));
    setFixedSize(size());
    // Centred by its client area until the window manager has framed it, then by its frame.
    platform::CentreByFrame(*this, platform.windowManager, platform.screen.PrimarySize(), size());
    for (int note = 1; note <= NoteCount; ++note) {
        widgets::TClickLabel* label = NoteLabel(note);
        connect(label, &widgets::TClickLabel::OnClick, this,
                std::bind_front(Reported(&TFormPostIt::Label1Click), label));
        connect(label, &widgets::TClickLabel::OnDblClick, this,
                std::bind_front(Reported(&TFormPostIt::Label1DblClick), label));
    }
    connect(ui->Button1, &QPushButton::clicked, this, Reported(&TFormPostIt::Button1Click));
    connect(ui->ButtonPrint, &QPushButton::clicked, this, Reported(&TFormPostIt::ButtonPrintClick));
    connect(ui->ButtonClose, &QPushButton::clicked, this, Reported(&TFormPostIt::ButtonCloseClick));
}

TFormPostIt::~TFormPostIt() = default;

widgets::TClickLabel* TFormPostIt::NoteLabel(int note) const
{
    const std::array labels = {ui->Label1, ui->Label2, ui->Label3, ui->Label4,
                               ui->Label5, ui->Label6, ui->Label7, ui->Label8};
    return labels[std::size_t(note - 1)];
}

int TFormPostIt::NoteOf(const widgets::TClickLabel* label) const
{
    for (int note = 1; note <= NoteCount; ++note) {
        if (NoteLabel(note) == label)
            return note;
    }
    throw std::logic_error("A click came from a label that is no note's");
}

std::string TFormPostIt::NoteFile(int note) const
{
    return NoteFilePath(dataDirectory_, note);
}

void TFormPostIt::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) // not when the window system merely restores the window
        platform::ReportFailure(platform_.dialogs, [this] { FormShow(); });
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
    if (std::string why; !platform::ReplaceFileContent(path, bytes, why))
        throw std::runtime_error("Cannot save note " + std::to_string(currentNote_) + " in the file " + path + ": "
                                 + why);
    shown_.bytes = std::move(bytes);
    shown_.text = text;
}

void TFormPostIt::FormShow()
{
    currentNote_ = 1;
    LoadNote(1);
    for (int note = 1; note <= NoteCount; ++note) {
        StoredName& name = names_[std::size_t(note - 1)];
        name.bytes = settings_.Read(settings::NoteName(note));
        name.text = NoteText(name.bytes, name.encoding);
        NoteLabel(note)->setText(name.text);
    }
}

void TFormPostIt::Label1Click(widgets::TClickLabel* sender)
{
    SaveCurrentNote();
    currentNote_ = NoteOf(sender);
    ui->Memo1->clear();
    LoadNote(currentNote_);
}

void TFormPostIt::Label1DblClick(widgets::TClickLabel* sender)
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
    const std::unique_ptr<platform::PrintJob> job = platform_.printer.StartJob(platform::ProductName());
    TPrinterStream stream(*job);
    for (const QString& line : lines)
        stream.WriteLine(line);
    job->End();
}

void TFormPostIt::ButtonCloseClick()
{
    SaveCurrentNote();
    // A name the user left alone goes back byte for byte; a new one in the encoding of the name it
    // replaces, as a note's text does.
    for (int note = 1; note <= NoteCount; ++note) {
        StoredName& name = names_[std::size_t(note - 1)];
        const QString text = NoteLabel(note)->text();
        settings_.Store(settings::NoteName(note), text == name.text ? name.bytes : NoteBytes(text, name.encoding));
    }
    accept();
}
