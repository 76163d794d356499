#include "platform/keys/DesktopGlobalKeys.h"

#include "platform/portal/PortalGlobalKeys.h"
#include "platform/x11/X11GlobalKeys.h"

namespace platform {

namespace {

// How long the start waits for the portal to say whether it offers keys.
constexpr int PortalAnswerTime = 2000;

} // namespace

DesktopGlobalKeys::DesktopGlobalKeys(bool waylandSession)
    : waylandSession_(waylandSession)
{
}

DesktopGlobalKeys::~DesktopGlobalKeys() = default;

QStringList DesktopGlobalKeys::Take(const std::vector<GlobalKey>& keys, std::function<void(const QString& id)> onPress)
{
    if (!keys_ && !keys.empty()) {
        const QDBusConnection bus = QDBusConnection::sessionBus();
        if (waylandSession_ && bus.isConnected() && PortalGlobalKeys::Offered(bus, PortalAnswerTime))
            keys_ = std::make_unique<PortalGlobalKeys>(bus);
        else
            keys_ = std::make_unique<X11GlobalKeys>();
    }
    return keys_ ? keys_->Take(keys, std::move(onPress)) : QStringList();
}

} // namespace platform
