#pragma once

#include "platform/Screen.h"

#include <memory>

class QObject;

namespace platform {

// The screen Qt calls primary, and the screens around it.
class PrimaryScreen final : public Screen {
public:
    PrimaryScreen();
    ~PrimaryScreen() override;
    QSize PrimarySize() const override;
    QRect ScreenGeometryAt(QPoint point) const override;
    std::vector<QRect> MonitorGeometries() const override;
    void OnMonitorsChanged(std::function<void()> onChange) override;

private:
    std::unique_ptr<QObject> watch_; // holds the connections of the current handler
};

} // namespace platform
