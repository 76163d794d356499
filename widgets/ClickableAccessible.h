#pragma once

#include <QAccessibleWidget>

namespace widgets {

// What screen readers see of a control that acts on a left click: its default action does what
// that click does.
class TClickableAccessible : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;

    QStringList actionNames() const override;
    void doAction(const QString& action) override;

protected:
    // The default action's name: press unless a control says otherwise.
    virtual QString ClickAction() const { return pressAction(); }
    // Does what a left click on the control does.
    virtual void Click() = 0;
};

} // namespace widgets
