#pragma once

#include "app/LaunchSlots.h"
#include "app/OpenDialog.h"
#include "platform/Platform.h"
#include "storage/FileList.h"
#include "storage/ProgramFiles.h"

#include <QList>
#include <QObject>
#include <QUrl>

#include <array>
#include <optional>
#include <string>

class QAction;
class QMenu;
class TExeBtn;
class TSettings;

// What the twelve launch slots do: their pop-up menus with a file entry per line of the slot's
// pop-up file list, the commands that assign, add, delete and clear files, the parameter flag,
// starting an entry or everything at once, files dropped on a button, and showing the files of a
// group page when it first shows, or of a button when a screen reader asks for them before. Every command acts on the
// current slot: the slot the last right press, "A" or "P" concerned. Each change is stored at once, in the settings
// file or in the slot's list file, which every operation reads afresh. The commands connect the slots' widgets and
// menus to themselves; a failure a command raises goes to the general error report.
class TSlotCommands : public QObject {
    Q_OBJECT
public:
    TSlotCommands(const platform::Platform& platform, const TSettings& settings, std::string dataDirectory,
                  TLaunchSlots& parts);

    // Start-up: every slot takes its main file, its list and its parameter flag. A menu's entries,
    // and on a group page not shown yet the button's icon, are made from them when first needed.
    void SetUp();

    int CurrentSlot() const { return currentSlot_; }
    const TLaunchSlot& Slot(int slot) const { return launchSlots_[slot]; }
    // The slot's button, showing the slot's files.
    TExeBtn* Button(int slot);
    // The slot's menu with its file entries: made when it is first asked for, at the first right
    // press on the slot's button at the latest, and filled from what start-up read.
    QMenu* FilledMenu(int slot);
    bool ParamOn(int slot) const { return launchSlots_.ParamOn(slot); }

    void ExeBtn1MouseDown(TExeBtn* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void BuildSlotMenu();
    void AssignEXE1Click();
    void AddFilesClick();
    void RemoveFiles1Click();
    void LabelCancelEXE1Click();
    void LabelParam1Click(const QObject* sender);
    void LaunchSlotEntry(QAction* entry);
    void LabelLaunchAll1Click(const QObject* sender);
    void ExeBtn1DragDrop(TExeBtn* sender, const QList<QUrl>& urls);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The files a button not yet shown is to show when its page first shows.
    struct Files {
        std::string main;
        std::string icon;
    };
    // What start-up read for a slot and the slot has not yet made its own.
    struct Pending {
        std::optional<std::string> list; // the list file's bytes, for the menu's entries
        std::optional<Files> files;
    };

    // The slot's menu, made with its fixed items and connected unless it is there; entries as they
    // are.
    QMenu* EnsureMenu(int slot);
    // A command for a Qt signal, run through the general error report.
    template <typename... Args> auto Reported(void (TSlotCommands::*command)(Args...));
    void ClearSlotMenu();
    // Makes the file entries of the slot's menu the lines of list.
    void FillSlotMenu(int slot, const TFileList& list);
    TFileList LoadList(int slot) const;
    std::string ListFile(int slot) const;
    std::string BlankIconFile() const;
    std::string StoredMainFile(int slot) const;
    void ShowFiles(int slot, const std::string& mainFile, const std::string& iconFile);
    // The buttons on the page, or the one button, take the files start-up left pending for them.
    void ShowPendingFiles(const QWidget* pageOrButton);
    void AssignMainFile(int slot, const std::string& path);
    void AddListFile(int slot, const std::string& path);
    // The file chosen in the file-open dialog; nothing when the user cancels.
    std::optional<std::string> ChooseFile();

    platform::Platform platform_;
    const TSettings& settings_;
    std::string dataDirectory_;
    TLaunchSlots& launchSlots_;
    std::array<Pending, SlotCount> pending_;
    int currentSlot_ = 0;
    TOpenDialog OpenDialog1; // shared by the assign and add commands
};
