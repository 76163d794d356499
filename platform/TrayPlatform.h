#pragma once

namespace platform {

class NotificationArea;
class Timers;

// What the notification-area icon needs of the desktop beside what every window gets
// (Platform). The program hands it the real ones, tests doubles.
struct TrayPlatform {
    NotificationArea& area;
    Timers& timers;
};

} // namespace platform
