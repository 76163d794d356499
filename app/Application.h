#pragma once

#include <QApplication>

namespace platform {
class Dialogs;
}

// The application object. It ends only when told to, never because its last window closed. An
// exception escaping an event handler after all is caught where the event was dispatched and
// shown by the general error report; the program then goes on with the next event.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);

    void setErrorDialogs(platform::Dialogs* dialogs) { dialogs_ = dialogs; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    platform::Dialogs* dialogs_ = nullptr;
};
