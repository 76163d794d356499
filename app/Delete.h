#pragma once

#include "platform/Platform.h"
#include "storage/FileList.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>

namespace Ui {
class TFormDelete;
}

// The dialog that deletes one line from a slot's pop-up file list. It shows the list's lines
// whole; "&Delete" (or a double click on a line) removes the selected line, stores the list and
// closes; without a selected line it does nothing.
class TFormDelete : public QDialog {
    Q_OBJECT
public:
    // Centred on the primary screen. afterDelete runs once the shortened list is stored; a list
    // that cannot be stored is reported by the general error report, and the dialog stays open.
    TFormDelete(std::string listFile, const platform::Platform& platform, std::function<void()> afterDelete);
    ~TFormDelete() override;

    void ButtonDeleteClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TFormDelete> ui;
    platform::Dialogs& dialogs_;
    std::string listFile_;
    std::function<void()> afterDelete_;
    TFileList lines_;
};
