#pragma once

#include "app/LaunchSlots.h"
#include "app/SlotCommands.h"
#include "app/StripCommand.h"
#include "options/StripLayout.h"
#include "platform/Platform.h"
#include "platform/session/ErrorReport.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>

namespace Ui {
class TForm1;
}
class QTimer;
class TSettings;
class TStripHost;
class TStripKeys;
class TWindowDrag;

// The strip: a black, borderless window on top of all others with the clock row, the notebook
// of launch groups and the tab strip. Its constructor builds the controls and connects them;
// FormCreate then runs the start-up.
class TForm1 : public QWidget, public TStripLayout {
    Q_OBJECT
public:
    TForm1(const platform::Platform& platform, const TSettings& settings, TStripHost& host, QWidget* parent = nullptr);
    ~TForm1() override;

    // The start-up: reads the settings, fills the tab strip and the slots, applies the view
    // style, places the strip and shows it, or leaves it in the notification area.
    void FormCreate();

    // Main-window state, each mirroring one key of the settings file.
    int ViewStyle() const override { return viewStyle_; }
    const std::string& TabsVisible() const override { return tabsVisible_; } // exactly "False" hides the tabs
    bool StartInTray() const { return startInTray_; }
    void SetStartInTray(bool inTray) override { startInTray_ = inTray; }
    // No settings file had said otherwise: the help opens by itself.
    bool FirstStart() const { return firstStart_; }

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
    // Moves the strip wholly onto the nearest monitor when less than half of it lies on the
    // monitors, as after a monitor it stood on has gone; a place at least half on them stays.
    // Nothing is stored.
    void KeepOnMonitors();
    void BitBtnCloseClockClick();
    void BitBtnExitClick();
    void PanelPostItClick();
    void SpeedButtonHelpClick();

    // The page of the notebook on view: a group (0 to 2) or the settings page (3).
    int PageOnView() const;
    // Selects the tab at index as a click on it does.
    void SelectTab(int index);
    // Does what a command asks of the strip, which the program has brought back where the
    // command wants it: "-" for a toggle, a group's tab, a slot's button or "A", or "N".
    void RunCommand(const TStripCommand& command);

    // What the launch slots do, with their handlers.
    TSlotCommands& SlotCommands() { return slotCommands_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The strip has left the screen (minimised or hidden in the notification area) or come back:
    // the program's other windows follow.
    void SetAway(bool away);
    // A handler for a Qt signal: a failure it raises is shown by the general error report and
    // never passed on to Qt.
    template <typename... Args> auto Reported(void (TForm1::*handler)(Args...));

    platform::Platform platform_;
    const TSettings& settings_;
    TStripHost& host_;
    std::unique_ptr<Ui::TForm1> ui;
    TLaunchSlots launchSlots_;
    TSlotCommands slotCommands_;
    std::unique_ptr<TWindowDrag> drag_;
    std::unique_ptr<TStripKeys> keys_;
    int viewStyle_ = 1;
    std::string tabsVisible_ = "True";
    bool startInTray_ = false;
    bool firstStart_ = true;
    bool away_ = false; // minimised, or hidden for the tray icon to bring back
    QPointer<QWidget> helpBesideStrip_; // the help of the first start, until the strip is on screen
    QTimer* Timer1;
};

template <typename... Args> auto TForm1::Reported(void (TForm1::*handler)(Args...))
{
    return platform::Reported(platform_.dialogs, this, handler);
}
