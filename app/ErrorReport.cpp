#include "app/ErrorReport.h"

#include "platform/Dialogs.h"

#include <stdexcept>

void ReportError(platform::Dialogs& dialogs, const std::exception& error)
{
    dialogs.messageBox(QString::fromLocal8Bit(error.what()) + QLatin1Char('.'), QStringLiteral("Stackle"),
                       platform::MessageKind::Error, platform::MessageButtons::Ok);
}

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Stackle"));
    setQuitOnLastWindowClosed(false);
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        if (dialogs_)
            ReportError(*dialogs_, error);
    } catch (...) {
        if (dialogs_)
            ReportError(*dialogs_, std::runtime_error("Unknown error"));
    }
    return false;
}
