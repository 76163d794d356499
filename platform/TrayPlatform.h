#pragma once

namespace platform {

class NotificationArea;
class Timers;
class WindowManager;

// What the notification-area icon, and minimising the strip to it, need of the desktop beside
// what every window gets (Platform). The program hands it the real ones, tests doubles.
struct TrayPlatform {
    NotificationArea& area;
    Timers& timers;
    WindowManager& windowManager;
};

} // namespace platform
