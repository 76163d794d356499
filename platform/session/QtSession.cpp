#include "platform/session/QtSession.h"

#include <QApplication>
#include <QWidget>

namespace platform {

void QtSession::SetBusyCursor(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtSession::ShowMainWindow(bool visible)
{
    if (!mainWindow_)
        return;
    if (visible)
        mainWindow_->showNormal();
    else
        mainWindow_->hide();
}

} // namespace platform
