#include "app/GlobalKeyBindings.h"

#include "platform/Dialogs.h"
#include "platform/GlobalKeys.h"
#include "platform/session/ProductName.h"
#include "platform/text/Encoding.h"
#include "storage/ProgramFiles.h"
#include "storage/Settings.h"

#include <QKeySequence>

namespace {

struct Binding {
    TextSetting setting;
    TStripCommand command;
    QString description;
};

std::vector<Binding> Bindings()
{
    std::vector<Binding> bindings{
        {settings::ToggleKey, {TStripCommand::Kind::Toggle, 0}, QStringLiteral("Hide the strip, or bring it back")}};
    for (int slot = 1; slot <= SlotCount; ++slot)
        bindings.push_back(
            {settings::SlotKey(slot), {TStripCommand::Kind::Launch, slot}, QStringLiteral("Start slot %1").arg(slot)});
    return bindings;
}

// A key as the message names it: its text, and the settings key that holds it.
QString Named(const QString& key, const QString& id)
{
    return QStringLiteral("%1 (%2)").arg(key, id);
}

} // namespace

TGlobalKeyBindings::TGlobalKeyBindings(const platform::Platform& platform, platform::GlobalKeys& keys,
                                       const std::string& dataDirectory, std::function<void(const TStripCommand&)> run)
    : keys_(keys)
{
    const TSettings settings(dataDirectory);
    const std::vector<Binding> bindings = Bindings();
    std::vector<platform::GlobalKey> wanted;
    QStringList unusable;
    for (const Binding& binding : bindings) {
        const QString id = QString::fromStdString(binding.setting.key);
        const QString text = platform::FromBytes(settings.Read(binding.setting)).trimmed();
        if (text.isEmpty())
            continue;
        const QKeySequence key = QKeySequence::fromString(text, QKeySequence::PortableText);
        if (key.count() != 1 || key[0].key() == Qt::Key_unknown)
            unusable << Named(text, id);
        else
            wanted.push_back({id, binding.description, key});
    }
    const QStringList refused = keys_.Take(wanted, [bindings, run](const QString& id) {
        for (const Binding& binding : bindings)
            if (QString::fromStdString(binding.setting.key) == id)
                run(binding.command);
    });
    for (const platform::GlobalKey& key : wanted)
        if (refused.contains(key.id))
            unusable << Named(key.key.toString(QKeySequence::PortableText), key.id);
    if (!unusable.isEmpty())
        platform.dialogs.MessageBox(
            QStringLiteral("These keys of the [Keys] section of FILE.INI are held by another program, or are no keys "
                           "this desktop lets Stackle have, and do nothing: %1.")
                .arg(unusable.join(QStringLiteral(", "))),
            platform::ProductName(), platform::MessageKind::Information, platform::MessageButtons::Ok);
}

TGlobalKeyBindings::~TGlobalKeyBindings()
{
    keys_.Take({}, {});
}
