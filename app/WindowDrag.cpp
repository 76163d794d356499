#include "app/WindowDrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

TWindowDrag::TWindowDrag(QWidget& window)
    : window_(window)
{
    window.installEventFilter(this);
}

bool TWindowDrag::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() != Qt::LeftButton)
            return false;
        // Without a window manager the system move is refused; a window it does not manage is not
        // moved by it either.
        if (window_.windowFlags().testFlag(Qt::X11BypassWindowManagerHint) || !window_.windowHandle()
            || !window_.windowHandle()->startSystemMove())
            offset_ = press->globalPosition().toPoint() - window_.pos();
        return true;
    }
    case QEvent::MouseMove: {
        auto* move = static_cast<QMouseEvent*>(event);
        if (!offset_ || !(move->buttons() & Qt::LeftButton))
            return false;
        window_.move(move->globalPosition().toPoint() - *offset_);
        return true;
    }
    case QEvent::MouseButtonRelease: offset_.reset(); return false;
    default: return false;
    }
}
