#include "widgets/ClickableAccessible.h"

#include <QWidget>

namespace widgets {

QStringList TClickableAccessible::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (widget()->isEnabled())
        names.prepend(ClickAction());
    return names;
}

void TClickableAccessible::doAction(const QString& action)
{
    if (action != ClickAction()) {
        QAccessibleWidget::doAction(action);
        return;
    }
    // Clicked once the screen reader has its answer, since a click may open a modal window; not
    // at all when the control is gone by then.
    if (widget()->isEnabled())
        QMetaObject::invokeMethod(
            widget(), [this] { Click(); }, Qt::QueuedConnection);
}

} // namespace widgets
