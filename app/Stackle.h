#pragma once

#include "app/StripCommand.h"
#include "app/StripHost.h"
#include "platform/Platform.h"
#include "platform/TrayPlatform.h"
#include "storage/Settings.h"

#include <memory>

class QMenu;
class QObject;
class TForm1;
class TFormHelp;
class TKyTrayIcon95;

// The program as a whole: it owns the strip and its notification-area icon for the whole run,
// opens the other windows when the strip asks for them, and ends the run when the strip is left.
class TStackle final : public TStripHost {
public:
    // Builds the strip and runs its start-up. The icon goes into the notification area, with its
    // menu, right after the strip first shows on screen, a moment after the start-up when the
    // desktop does not draw the strip, or earlier when the strip asks for it.
    TStackle(const platform::Platform& platform, const platform::TrayPlatform& tray);
    ~TStackle() override;

    TForm1& Strip() { return *strip_; }
    TKyTrayIcon95& TrayIcon() { return *trayIcon_; }
    QMenu& PopupTray();

    // Brings the strip back, shown, restored and on top, as a click on the tray icon does.
    void ShowStrip();
    // Carries out a command from the command line or a key. While a modal window is open it alone
    // takes input: the command only brings it back, as a press on the blocked strip does, with the
    // strip when the command asks for the strip.
    void RunCommand(const TStripCommand& command);

    void Quit() override;
    void ShowNotes() override;
    void ShowOptions() override;
    bool ShowTrayIconWithin(std::chrono::milliseconds patience) override;
    QWidget* ShowHelp() override;
    void StripMinimised(bool minimised) override;

private:
    // Runs the strip's start-up. A failure is reported, and the strip is still left where the
    // user can reach it.
    void StartStrip();
    // Runs a strip handler from outside the strip; a failure goes to the general error report.
    template <typename Handler, typename... Args> void RunStripHandler(Handler handler, const Args&... args);
    // Puts the icon into the notification area, with its menu; nothing when it is there. The
    // only way the icon gets there.
    void ShowTrayIcon();

    platform::Platform platform_;
    platform::TrayPlatform tray_;
    TSettings settings_;
    std::unique_ptr<QMenu> popupTray_;
    std::unique_ptr<TKyTrayIcon95> trayIcon_;
    std::unique_ptr<TFormHelp> help_; // the last help window opened, shown or closed
    std::unique_ptr<TForm1> strip_;
    std::unique_ptr<QObject> firstPaint_; // waits for the strip to show on screen, for a moment
    bool stripAway_ = false; // minimised, or hidden for the tray icon to bring back
    bool helpAwayWithStrip_ = false; // the help window was hidden when the strip was minimised
};
