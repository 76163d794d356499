#include "widgets/SwitchLabel.h"

#include <QAccessible>

namespace widgets {

TSwitchLabel::TSwitchLabel(const QString& text, QColor offColor, QColor onColor, QWidget* parent)
    : TClickLabel(parent)
    , offColor_(offColor)
    , onColor_(onColor)
{
    ShowState();
    setText(text); // only now, so that screen readers see a switch label from the start
}

void TSwitchLabel::SetOn(bool on)
{
    if (on == on_)
        return;
    on_ = on;
    ShowState();
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void TSwitchLabel::ShowState()
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, on_ ? onColor_ : offColor_);
    setPalette(palette);
}

} // namespace widgets
