#pragma once

#include <QObject>
#include <QPoint>

#include <optional>

class QWidget;

// Lets a window be moved by dragging any bare part of it with the left button, as a caption bar
// would: the presses its controls leave to the window. The window manager moves the window
// where there is one; without one, or for a window it does not manage, the window follows the
// pointer by itself.
class TWindowDrag final : public QObject {
public:
    explicit TWindowDrag(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    // Where a drag began, while the window follows the pointer by itself.
    std::optional<QPoint> offset_;
};
