#pragma once

#include "platform/GlobalKeys.h"

#include <memory>

namespace platform {

// Keys taken on the X server: each is grabbed on the root window, with and without Num Lock and
// Caps Lock, so that its press comes to this program whichever window has the focus. A key
// another client has grabbed cannot be had. Off X11 no key can.
class X11GlobalKeys final : public GlobalKeys {
public:
    X11GlobalKeys();
    ~X11GlobalKeys() override;
    X11GlobalKeys(const X11GlobalKeys&) = delete;
    X11GlobalKeys& operator=(const X11GlobalKeys&) = delete;

    QStringList Take(const std::vector<GlobalKey>& keys, std::function<void(const QString& id)> onPress) override;

private:
    class Grabs;
    std::unique_ptr<Grabs> grabs_;
};

} // namespace platform
