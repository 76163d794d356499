#pragma once

#include "app/LaunchSlots.h"
#include "options/StripLayout.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/session/ErrorReport.h"
#include "storage/FileList.h"

#include <QPoint>
#include <QUrl>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>

namespace Ui {
class TForm1;
}
class QAction;
class QTimer;
class TClickLabel;
class TExeBtn;
class TStripHost;

// The strip: a black, borderless window on top of all others with the clock row, the notebook
// of launch groups and the tab strip. Its constructor runs the whole start-up (FormCreate).
class TForm1 : public QWidget, public TStripLayout {
    Q_OBJECT
public:
    TForm1(const platform::Platform& platform, TStripHost& host, QWidget* parent = nullptr);
    ~TForm1() override;

    // Main-window state, each mirroring one key of the settings file.
    int ViewStyle() const override { return viewStyle_; }
    const std::string& TabsVisible() const override { return tabsVisible_; } // exactly "False" hides the tabs
    bool StartInTray() const { return startInTray_; }
    void SetStartInTray(bool inTray) override { startInTray_ = inTray; }
    // No settings file had said otherwise: the help opens by itself.
    bool FirstStart() const { return firstStart_; }
    // The slot (1 to 12) the last slot action concerned; every pop-up command acts on it.
    int CurrentSlot() const { return currentSlot_; }

    // Lays the window out for view style 1 (clock and buttons), 2 (buttons only) or 3 (clock
    // only) and stores the style.
    void ApplyViewStyle(int style) override;
    // Hides or shows the tab strip and stores the choice.
    void ApplyTabsHidden(bool hide) override;
    void SetTabHeading(int index, const QString& heading) override;

    void Timer1Timer();
    void Tab1Click(int index);
    void NB1PageChanged(int index);
    void SpeedButton2Click();
    void SpeedButton1Click();
    void ButtonOptionsClick();
    void BitBtnHideButtonsClick();
    void BitBtnShowButtonsClick();
    void ButtonMinSmallClick();
    void TrayIconClick();
    void BitBtnCloseClockClick();
    void BitBtnExitClick();
    void PanelPostItClick();
    void SpeedButtonHelpClick();

    // The launch slots' handlers; each finds its slot from the part that fired it, or acts on
    // the current slot.
    void ExeBtn1MouseDown(TExeBtn* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void BuildSlotMenu();
    void AssignEXE1Click();
    void AddFilesClick();
    void RemoveFiles1Click();
    void LabelCancelEXE1Click();
    void LabelParam1Click(TClickLabel* sender);
    void LaunchSlotEntry(QAction* entry);
    void LabelLaunchAll1Click(TClickLabel* sender);
    void ExeBtn1DragDrop(TExeBtn* sender, const QList<QUrl>& urls);

    // The slot's button, showing the slot's files.
    TExeBtn* SlotButton(int slot);
    TClickLabel* SlotParamLabel(int slot) const { return slots_[slot].param; }
    // The slot's menu with its file entries: made when it is first asked for, at the first
    // right press on the slot's button at the latest.
    QMenu* SlotMenu(int slot);
    bool ParamOn(int slot) const { return slots_[slot].paramOn; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ClearSlotMenu();
    void FormCreate();
    void ConnectHandlers();
    void ConnectSlots();
    void SetUpSlots();
    // Gives the slot's button its main file and its icon file, which shows that file's icon.
    void ShowSlotFiles(TLaunchSlot& slot, const std::string& mainFile, const std::string& iconFile);
    // The buttons of a group page take the files read for them at start-up when the page first
    // shows: a group not shown yet reads no icons.
    void ShowPendingFiles(const QWidget* page);
    // The slot's menu with its fixed items, made and connected when it is first needed.
    QMenu* MenuOf(int slot);
    // Makes the file entries of the slot's menu the lines of the working list.
    void FillSlotMenu(int slot);
    std::string SettingsFile() const;
    std::string SlotListFile(int slot) const;
    // The blank icon an empty slot shows.
    std::string BlankIconFile() const;
    std::string StoredMainFile(int slot) const;
    void LaunchFile(const std::string& file, const std::string& parameters);
    void AssignMainFile(int slot, const std::string& path);
    void AddListFile(int slot, const std::string& path);
    void SetTabIndex(int index);
    void SetBevelHeight(int height);
    // The window's height: down to the frame's bottom edge plus margin.
    void FitHeightToBevel(int margin);
    void ShowTabsBelowNotebook();
    // Puts the help window's top edge one pixel below the strip's bottom edge.
    void PlaceBelow(QWidget* window) const;
    // A handler for a Qt signal: a failure it raises is shown by the general error report and
    // never passed on to Qt.
    template <typename... Args> auto Reported(void (TForm1::*handler)(Args...));

    platform::Platform platform_;
    TStripHost& host_;
    std::unique_ptr<Ui::TForm1> ui;
    TLaunchSlots slots_;
    std::string programDirectory_;
    int viewStyle_ = 1;
    std::string tabsVisible_ = "True";
    bool startInTray_ = false;
    bool firstStart_ = true;
    int currentSlot_ = 0;
    QTimer* Timer1;
    TFileList ListBox1; // the hidden working list of pop-up file list lines
    platform::OpenFileRequest OpenDialog1;
    bool showAtStart_ = true;
    // Where a drag began, for moving the window by hand when the window system will not.
    std::optional<QPoint> dragOffset_;
};

template <typename... Args> auto TForm1::Reported(void (TForm1::*handler)(Args...))
{
    return platform::Reported(platform_.dialogs, this, handler);
}
