#pragma once

#include "platform/GlobalKeys.h"

#include <memory>

namespace platform {

// The way this desktop lets a program have keys: in a Wayland session whose desktop portal offers
// global shortcuts, through the portal; elsewhere by grabbing them on the X server, which under
// XWayland sees them only while one of its windows has the focus. Decided when keys are first
// taken, so that a run without keys asks nothing.
class DesktopGlobalKeys final : public GlobalKeys {
public:
    explicit DesktopGlobalKeys(bool waylandSession);
    ~DesktopGlobalKeys() override;

    QStringList Take(const std::vector<GlobalKey>& keys, std::function<void(const QString& id)> onPress) override;

private:
    bool waylandSession_;
    std::unique_ptr<GlobalKeys> keys_;
};

} // namespace platform
