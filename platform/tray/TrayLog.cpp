#include "platform/tray/TrayLog.h"

namespace platform {

Q_LOGGING_CATEGORY(trayLog, "stackle.tray", QtWarningMsg)

} // namespace platform
