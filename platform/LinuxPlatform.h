#pragma once

#include "platform/Platform.h"
#include "platform/TrayPlatform.h"
#include "platform/desktop/LinuxShell.h"
#include "platform/icons/LinuxIcons.h"
#include "platform/printing/CupsPrinter.h"
#include "platform/session/PrimaryScreen.h"
#include "platform/session/QtDialogs.h"
#include "platform/session/QtSession.h"
#include "platform/session/QtTimers.h"
#include "platform/session/RunningProgramLocation.h"
#include "platform/session/SystemClock.h"
#include "platform/session/X11WindowManager.h"
#include "platform/tray/LinuxNotificationArea.h"

namespace platform {

// The real outside world: this machine's program file, screen, clock, dialogs, desktop,
// processes, icons and printer.
class LinuxPlatform {
public:
    // ownIcon gives the program's own icon when it is first shown; printed text is drawn in
    // textFontFamily.
    LinuxPlatform(std::function<QImage()> ownIcon, QString textFontFamily)
        : icons_(std::move(ownIcon))
        , printer_(std::move(textFontFamily))
    {
    }

    Platform platform()
    {
        return {location_, screen_, clock_, dialogs_, shell_, session_, icons_, printer_, windowManager_};
    }
    // The notification area and timers of this desktop.
    TrayPlatform trayPlatform() { return {notificationArea_, timers_}; }
    // The main window, which a start that waits for its program hides meanwhile.
    void SetMainWindow(QWidget* window) { session_.SetMainWindow(window); }
    // The folder of the program's files that start-up chose, for the whole run.
    void UseDataDirectory(std::string directory) { location_.UseDataDirectory(std::move(directory)); }

private:
    RunningProgramLocation location_;
    PrimaryScreen screen_;
    SystemClock clock_;
    QtDialogs dialogs_;
    LinuxShell shell_;
    QtSession session_;
    LinuxIcons icons_;
    CupsPrinter printer_;
    LinuxNotificationArea notificationArea_{dialogs_, DesktopTrayIconViews};
    QtTimers timers_{dialogs_};
    X11WindowManager windowManager_;
};

} // namespace platform
