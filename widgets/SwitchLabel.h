#pragma once

#include "widgets/ClickLabel.h"

#include <QColor>

namespace widgets {

// A click label that shows an on/off state by the colour of its text; it starts off. Screen
// readers see a check box, checked while the state is on.
class TSwitchLabel : public TClickLabel {
    Q_OBJECT
public:
    TSwitchLabel(const QString& text, QColor offColor, QColor onColor, QWidget* parent = nullptr);

    bool On() const { return on_; }
    void SetOn(bool on);

private:
    void ShowState();

    QColor offColor_;
    QColor onColor_;
    bool on_ = false;
};

} // namespace widgets
