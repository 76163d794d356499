#pragma once

#include "platform/Screen.h"

namespace platform {

// The screen Qt calls primary.
class PrimaryScreen final : public Screen {
public:
    QSize primarySize() const override;
};

} // namespace platform
