#pragma once

#include "platform/Screen.h"

namespace platform {

// The screen Qt calls primary, and the screens around it.
class PrimaryScreen final : public Screen {
public:
    QSize PrimarySize() const override;
    QRect ScreenGeometryAt(QPoint point) const override;
};

} // namespace platform
