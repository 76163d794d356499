#pragma once

#include "platform/Dialogs.h"

namespace platform {

// Qt's message boxes and its own file dialog, kept above the strip.
class QtDialogs final : public Dialogs {
public:
    MessageAnswer MessageBox(const QString& text, const QString& title, MessageKind kind,
                             MessageButtons buttons) override;
    std::optional<QString> OpenFile(const OpenFileRequest& request) override;
};

} // namespace platform
