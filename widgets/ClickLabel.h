#pragma once

#include "widgets/ClickLabelAccessible.h"

#include <QLabel>
#include <QMouseEvent>

#include <utility>

namespace widgets {

// A label that reports a click of the left mouse button on it, and a double click. A double
// click is a click and then a double-click event, as on the rest of the desktop: it reports one
// click, and the release that ends it is no click of its own. Screen readers see a push button.
class TClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit TClickLabel(QWidget* parent = nullptr)
        : QLabel(parent)
    {
        // Before any text is set: with a screen reader running, setting it already has Qt make
        // the label's accessible view.
        InstallClickLabelAccessibility();
    }
    explicit TClickLabel(const QString& text, QWidget* parent = nullptr)
        : TClickLabel(parent)
    {
        setText(text);
    }

    // What a left click on the label does.
    void Click() { emit OnClick(); }

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
        doubleClicking_ = true;
        emit OnDblClick();
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        const bool secondOfDouble = std::exchange(doubleClicking_, false);
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && !secondOfDouble)
            Click();
    }

private:
    bool doubleClicking_ = false; // the press was the second of a double click
};

} // namespace widgets
