#include "platform/session/PrimaryScreen.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

QSize PrimaryScreen::PrimarySize() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize();
}

} // namespace platform
