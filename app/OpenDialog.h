#pragma once

#include "platform/Dialogs.h"

#include <optional>

// The file-open dialog that several commands share: its filter list, the filter it shows, and
// the last file chosen, offered again at its next showing.
class TOpenDialog {
public:
    TOpenDialog(platform::Dialogs& dialogs, QList<platform::FileFilter> filters)
        : dialogs_(dialogs)
        , request_{std::move(filters), 1, {}}
    {
    }

    // 1 for the first filter.
    void SetFilterIndex(int index) { request_.filterIndex = index; }

    // Shows the dialog: the chosen file's full path, or nothing when the user cancels.
    std::optional<QString> Execute()
    {
        const std::optional<QString> chosen = dialogs_.OpenFile(request_);
        if (chosen)
            request_.fileName = *chosen;
        return chosen;
    }

private:
    platform::Dialogs& dialogs_;
    platform::OpenFileRequest request_;
};
