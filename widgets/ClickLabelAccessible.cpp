#include "widgets/ClickLabelAccessible.h"

#include "widgets/ClickableAccessible.h"
#include "widgets/SwitchLabel.h"

namespace widgets {

namespace {

class TClickLabelAccessible : public TClickableAccessible {
public:
    explicit TClickLabelAccessible(TClickLabel* label, QAccessible::Role role = QAccessible::Button)
        : TClickableAccessible(label, role)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return Label()->text();
        return TClickableAccessible::text(kind);
    }

protected:
    void Click() override { Label()->Click(); }

private:
    TClickLabel* Label() const { return static_cast<TClickLabel*>(widget()); }
};

class TSwitchLabelAccessible : public TClickLabelAccessible {
public:
    explicit TSwitchLabelAccessible(TSwitchLabel* label)
        : TClickLabelAccessible(label, QAccessible::CheckBox)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = TClickLabelAccessible::state();
        state.checkable = true;
        state.checked = static_cast<const TSwitchLabel*>(widget())->On();
        return state;
    }

protected:
    QString ClickAction() const override { return toggleAction(); }
};

QAccessibleInterface* ClickLabelAccessible(const QString& className, QObject* object)
{
    if (auto* label = qobject_cast<TSwitchLabel*>(object);
        label && className == QLatin1String(TSwitchLabel::staticMetaObject.className()))
        return new TSwitchLabelAccessible(label);
    if (auto* label = qobject_cast<TClickLabel*>(object);
        label && className == QLatin1String(TClickLabel::staticMetaObject.className()))
        return new TClickLabelAccessible(label);
    return nullptr;
}

} // namespace

void InstallClickLabelAccessibility()
{
    QAccessible::installFactory(ClickLabelAccessible);
}

} // namespace widgets
