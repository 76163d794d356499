#pragma once

#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "storage/FileList.h"
#include "storage/IniFile.h"

#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>

namespace Ui {
class TForm1;
}
class QAction;
class QMenu;
class TClickLabel;
class TExeBtn;

// The strip: a black, borderless window on top of all others with the clock row, the notebook
// of launch groups and the tab strip. Its constructor runs the whole start-up (FormCreate).
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(const platform::Platform& platform, QWidget* parent = nullptr);
    ~TForm1() override;

    // Main-window state, each mirroring one key of the settings file.
    int ViewStyle = 1;
    std::string TabsVisible = "True"; // exactly "False" hides the tab strip
    bool StartInTray = false;
    bool FirstStart = true; // no settings file had said otherwise: the help opens by itself
    // The slot (1 to 12) the last slot action concerned; every pop-up command acts on it.
    int CurrentSlot = 0;

    // Lays the window out for view style 1 (clock and buttons), 2 (buttons only) or 3 (clock
    // only) and stores the style.
    void ApplyViewStyle(int style);
    // Hides or shows the tab strip and stores the choice.
    void ApplyTabsHidden(bool hide);

    std::string SettingsFile() const { return programDirectory_ + "FILE.INI"; }

    void Timer1Timer();
    void Tab1Click(int index);
    void NB1PageChanged(int index);
    void SpeedButton2Click();
    void SpeedButton1Click();
    void BitBtnHideButtonsClick();
    void BitBtnShowButtonsClick();
    void ButtonMinSmallClick();
    void BitBtnCloseClockClick();
    void BitBtnExitClick();

    // Launch slots: slot n is on notebook page (n - 1) / 4, each with its launcher button
    // ExeBtn<n>, its "A" label LabelLaunchAll<n>, its "P" label LabelParam<n> and its pop-up
    // menu (PopUpMenu1, PopupMenu<n>), all found by name without regard to case.
    void ExeBtn1MouseDown(TExeBtn* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void BuildSlotMenu();
    void ClearSlotMenu();
    void AssignEXE1Click();
    void AddFilesClick();
    void RemoveFiles1Click();
    void LabelCancelEXE1Click();
    void LabelParam1Click(TClickLabel* sender);
    void LaunchSlotEntry(QAction* entry);
    void LabelLaunchAll1Click(TClickLabel* sender);

    TExeBtn* SlotButton(int slot) const;
    TClickLabel* SlotParamLabel(int slot) const;
    QMenu* SlotMenu(int slot) const;
    // The slot's parameter flag: on exactly when its "P" is not red.
    bool ParamOn(int slot) const;
    std::string SlotListFile(int slot) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void FormCreate();
    void SetFonts();
    void SetArtwork();
    void CreateSlots();
    void SetUpSlots();
    void FillSlotMenu();
    template <typename Part>
    Part* SlotPart(const QString& prefix, int slot) const;
    std::string StoredMainFile(int slot) const;
    void LaunchFile(const std::string& file, const std::string& parameters);
    void ConnectHandlers();
    void SetTabIndex(int index);
    void SetBevelHeight(int height);
    // The window's height: down to the frame's bottom edge plus margin.
    void FitHeightToBevel(int margin);
    void ShowTabsBelowNotebook();
    // Runs one write access to the settings file. A write that fails is ignored: the value
    // then simply is not stored, while what the screen shows stands.
    template <typename Write>
    void WriteSettings(Write write) const;

    platform::Platform platform_;
    std::unique_ptr<Ui::TForm1> ui;
    std::string programDirectory_;
    QTimer Timer1;
    TFileList ListBox1; // the hidden working list of pop-up file list lines
    platform::OpenFileRequest OpenDialog1;
    TExeBtn* ExeBtnFileLauncher = nullptr; // never shown: starts pop-up files
    bool showAtStart_ = true;
    // Where a drag began, for moving the window by hand when the window system will not.
    std::optional<QPoint> dragOffset_;
};

template <typename Write>
void TForm1::WriteSettings(Write write) const
{
    try {
        write(TIniFile(SettingsFile()));
    } catch (const std::exception&) {
    }
}
