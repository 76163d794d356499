#pragma once

#include <QLoggingCategory>

namespace platform {

// What the notification area says of its trays: warnings when a tray or watcher refuses the
// icon, asks for the absurd or vanishes in the middle of a call, debug lines as the icon moves
// between kinds of tray and as what a tray sends is corrected.
// Only the warnings show unless QT_LOGGING_RULES says otherwise ("stackle.tray.debug=true").
Q_DECLARE_LOGGING_CATEGORY(trayLog)

} // namespace platform
