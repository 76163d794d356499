#pragma once

#include "notes/NoteFile.h"
#include "platform/Platform.h"
#include "platform/session/ErrorReport.h"
#include "storage/ProgramFiles.h"

#include <QDialog>
#include <QStringList>

#include <array>
#include <memory>
#include <string>

namespace Ui {
class TFormPostIt;
}
namespace widgets {
class TClickLabel;
}
class TSettings;

// The notes window: eight notes, each in a file of its own in the data directory and each
// with a name on one of the eight labels at the right. The yellow memo shows one note at a
// time; a click on a label saves the note on view and shows that label's, a double click on a
// label lets the user type a new name for it, "Print Note" prints the memo's lines on the
// default printer, and "E&xit" saves the note on view and the eight names and closes the window.
// The window is shown modally, and each opening is a new window.
class TFormPostIt : public QDialog {
    Q_OBJECT
public:
    TFormPostIt(const platform::Platform& platform, const TSettings& settings);
    ~TFormPostIt() override;

    // The note (1 to 8) whose text the memo holds.
    int CurrentNote() const { return currentNote_; }

    void FormShow();
    void Label1Click(widgets::TClickLabel* sender);
    void Label1DblClick(widgets::TClickLabel* sender);
    void Button1Click();
    void ButtonPrintClick();
    void ButtonCloseClick();

    // The memo's lines as it shows them, wrapped at its width; an empty last line is none.
    QStringList MemoLines() const;

public slots:
    // Closing the window through the window system, or with Escape, does what "E&xit" does, so
    // that no typed text is lost; the window stays open when the note cannot be saved.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    widgets::TClickLabel* NoteLabel(int note) const;
    int NoteOf(const widgets::TClickLabel* label) const;
    std::string NoteFile(int note) const;
    QString MemoText() const;
    // The memo takes the text of the note's file; a file that cannot be read leaves the memo
    // as it is.
    void LoadNote(int note);
    // Stores the memo's text as the current note's file. A note the user did not change is
    // left exactly as it is. Throws when the file cannot be written.
    void SaveCurrentNote();
    template <typename... Args> auto Reported(void (TFormPostIt::*handler)(Args...));

    platform::Platform platform_;
    const TSettings& settings_;
    std::unique_ptr<Ui::TFormPostIt> ui;
    std::string dataDirectory_;
    int currentNote_ = 1;
    widgets::TClickLabel* targetLabel_ = nullptr; // the label last double-clicked, which the next name is for
    TNoteFile shown_; // the current note's file as last read or written
    // The eight names as the settings file held them when the window showed.
    struct StoredName {
        std::string bytes;
        QString text;
        NoteEncoding encoding = NoteEncoding::Locale;
    };
    std::array<StoredName, NoteCount> names_;
};

template <typename... Args> auto TFormPostIt::Reported(void (TFormPostIt::*handler)(Args...))
{
    return platform::Reported(platform_.dialogs, this, handler);
}
