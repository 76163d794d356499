#include "exebtn/ExeBtnAccessible.h"

#include "exebtn/ExeBtn.h"
#include "platform/text/Encoding.h"
#include "widgets/ClickableAccessible.h"

#include <QFileInfo>

namespace {

class TExeBtnAccessible : public widgets::TClickableAccessible {
public:
    explicit TExeBtnAccessible(TExeBtn* button)
        : widgets::TClickableAccessible(button, QAccessible::Button)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name || kind == QAccessible::Description)
            emit Button()->OnFileWanted();
        const QString file = platform::FromBytes(Button()->ExeFile());
        if (kind == QAccessible::Name)
            return file.isEmpty() ? QStringLiteral("Empty slot") : QFileInfo(file).fileName();
        if (kind == QAccessible::Description)
            return file;
        return widgets::TClickableAccessible::text(kind);
    }

    // The icon is part of the button, not a control of its own.
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

protected:
    void Click() override { Button()->Click(); }

private:
    TExeBtn* Button() const { return static_cast<TExeBtn*>(widget()); }
};

QAccessibleInterface* ExeBtnAccessible(const QString& className, QObject* object)
{
    auto* button = qobject_cast<TExeBtn*>(object);
    return button && className == QLatin1String("TExeBtn") ? new TExeBtnAccessible(button) : nullptr;
}

} // namespace

void InstallExeBtnAccessibility()
{
    QAccessible::installFactory(ExeBtnAccessible);
}
