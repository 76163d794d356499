#pragma once

#include <QKeySequence>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace platform {

// A key that acts for the whole desktop, whichever window has the focus.
struct GlobalKey {
    QString id; // its name, the same in every run: "Toggle", "Slot3"
    QString description; // what it does, for a desktop that lists the keys programs hold
    QKeySequence key;
};

// Keys taken for the whole desktop, for as long as this object lives.
class GlobalKeys {
public:
    virtual ~GlobalKeys() = default;
    // Takes keys in place of those taken before; a press of one runs onPress, from the event
    // loop, with its id. Gives back the ids of the keys that cannot be had: another program holds
    // them, the keyboard has no such key, or the desktop lets no program take keys.
    virtual QStringList Take(const std::vector<GlobalKey>& keys, std::function<void(const QString& id)> onPress) = 0;
};

} // namespace platform
