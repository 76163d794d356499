#pragma once

#include "platform/Screen.h"

namespace platform {

// The screen Qt calls primary.
class PrimaryScreen final : public Screen {
public:
    QSize PrimarySize() const override;
};

} // namespace platform
