#include "app/StripAccessible.h"

#include "app/Main.h"

#include <QAccessibleWidget>

namespace {

QAccessibleInterface* StripAccessible(const QString& className, QObject* object)
{
    auto* strip = qobject_cast<TForm1*>(object);
    return strip && className == QLatin1String("TForm1") ? new QAccessibleWidget(strip, QAccessible::Window) : nullptr;
}

} // namespace

void InstallStripAccessibility()
{
    QAccessible::installFactory(StripAccessible);
}
