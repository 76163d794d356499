#pragma once

#include "platform/Session.h"

class QWidget;

namespace platform {

// The application's override cursor and the main window it is given.
class QtSession final : public Session {
public:
    void SetMainWindow(QWidget* window) { mainWindow_ = window; }
    void SetBusyCursor(bool busy) override;
    void ShowMainWindow(bool visible) override;

private:
    QWidget* mainWindow_ = nullptr;
};

} // namespace platform
