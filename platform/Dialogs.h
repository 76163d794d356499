#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace platform {

enum class MessageKind { Error, Information };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// One entry of a file dialog's filter list, e.g. {"Text Files", "*.txt"}; patterns are
// separated by ';'.
struct FileFilter {
    QString description;
    QString patterns;
};

struct OpenFileRequest {
    QList<FileFilter> filters;
    int filterIndex = 1; // 1-based, the first filter being 1
    QString fileName; // shown as the initial choice
};

// Modal dialogs. Tests replace them with scripted answers, so that no box can ever wait for a
// user who is not there.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Shows a modal message box and returns the button chosen. With YesNo, "&Yes" is the
    // default button and Escape chooses "&No".
    virtual MessageAnswer MessageBox(const QString& text, const QString& title, MessageKind kind,
                                     MessageButtons buttons) = 0;

    // Lets the user choose one file; typed names are accepted even when no such file exists.
    // Gives the chosen full path, or nothing when cancelled.
    virtual std::optional<QString> OpenFile(const OpenFileRequest& request) = 0;
};

} // namespace platform
