#pragma once

#include <QApplication>

#include <exception>

namespace platform {
class Dialogs;
}

// The general error report: a failure that no handler caught is shown in a message box titled
// "Stackle", its message followed by a full stop, with an error icon and "OK".
void ReportError(platform::Dialogs& dialogs, const std::exception& error);

// Runs action; a failure it raises is shown by the general error report instead of passed on.
template <typename Action>
void ReportFailure(platform::Dialogs& dialogs, Action&& action)
{
    try {
        action();
    } catch (const std::exception& error) {
        ReportError(dialogs, error);
    }
}

// The application object. It ends only when told to, never because its last window closed. An
// exception escaping an event handler after all is caught where the event was dispatched and
// reported; the program then goes on with the next event.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);

    void setErrorDialogs(platform::Dialogs* dialogs) { dialogs_ = dialogs; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    platform::Dialogs* dialogs_ = nullptr;
};
