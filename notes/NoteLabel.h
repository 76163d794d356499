#pragma once

#include <QLabel>
#include <QMouseEvent>

#include <utility>

// A note's label: it reports a click of the left mouse button, and a double click, which comes
// after the click of its first press. The release that ends a double click is no click of its
// own.
class TNoteLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void OnClick();
    void OnDblClick();

protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        event->accept();
        if (event->button() != Qt::LeftButton)
            return;
        endsDoubleClick_ = true;
        emit OnDblClick();
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        const bool endsDoubleClick = std::exchange(endsDoubleClick_, false);
        if (event->button() == Qt::LeftButton && !endsDoubleClick && rect().contains(event->position().toPoint()))
            emit OnClick();
    }

private:
    bool endsDoubleClick_ = false;
};
