#include "app/Application.h"

#include "platform/session/ErrorReport.h"
#include "platform/session/ProductName.h"

#include <stdexcept>

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(platform::ProductName());
    setQuitOnLastWindowClosed(false);
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        if (dialogs_)
            platform::ReportError(*dialogs_, error);
    } catch (...) {
        if (dialogs_)
            platform::ReportError(*dialogs_, std::runtime_error("Unknown error"));
    }
    return false;
}
