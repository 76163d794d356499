#include "platform/x11/X11GlobalKeys.h"

#include "platform/keys/KeySymbols.h"
#include "platform/x11/Xcb.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>

namespace platform {

namespace {

constexpr std::array NumLockSymbols = {0xff7fu};
constexpr std::array AltSymbols = {0xffe9u, 0xffeau}; // Alt_L, Alt_R
constexpr std::array SuperSymbols = {0xffebu, 0xffecu}; // Super_L, Super_R

// The keyboard as the X server maps it: the symbols of each key code, and which of the modifiers
// Mod1 to Mod5 hold Num Lock, Alt and Super.
class Keyboard {
public:
    explicit Keyboard(xcb_connection_t* connection)
    {
        const xcb_setup_t* setup = xcb_get_setup(connection);
        first_ = setup->min_keycode;
        const auto mapping = Owned(xcb_get_keyboard_mapping_reply(
            connection, xcb_get_keyboard_mapping(connection, first_, std::uint8_t(setup->max_keycode - first_ + 1)),
            nullptr));
        if (mapping) {
            perCode_ = mapping->keysyms_per_keycode;
            const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(mapping.get());
            symbols_.assign(symbols, symbols + xcb_get_keyboard_mapping_keysyms_length(mapping.get()));
        }
        const auto modifiers =
            Owned(xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr));
        if (!modifiers)
            return;
        const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(modifiers.get());
        const int perModifier = modifiers->keycodes_per_modifier;
        for (int modifier = 3; modifier < 8; ++modifier) // Mod1 to Mod5
            for (int i = 0; i < perModifier; ++i) {
                const xcb_keycode_t code = codes[modifier * perModifier + i];
                const auto mask = std::uint16_t(1u << modifier);
                if (Holds(code, NumLockSymbols))
                    numLock = mask;
                if (Holds(code, AltSymbols))
                    alt = alt ? alt : mask;
                if (Holds(code, SuperSymbols))
                    super = super ? super : mask;
            }
    }

    // The key code whose key gives symbol, and Shift when only its shifted level does.
    std::optional<std::pair<xcb_keycode_t, std::uint16_t>> CodeOf(std::uint32_t symbol) const
    {
        for (const std::uint16_t level : {0, 1})
            for (std::size_t code = 0; perCode_ > level && code * perCode_ < symbols_.size(); ++code)
                if (symbols_[code * perCode_ + level] == symbol)
                    return std::pair{xcb_keycode_t(first_ + code), std::uint16_t(level ? XCB_MOD_MASK_SHIFT : 0)};
        return std::nullopt;
    }

    std::uint16_t numLock = 0, alt = 0, super = 0;

private:
    template <typename Symbols> bool Holds(xcb_keycode_t code, const Symbols& wanted) const
    {
        if (code < first_ || perCode_ == 0)
            return false;
        const std::size_t start = std::size_t(code - first_) * perCode_;
        for (std::size_t i = start; i < start + perCode_ && i < symbols_.size(); ++i)
            if (std::find(wanted.begin(), wanted.end(), symbols_[i]) != wanted.end())
                return true;
        return false;
    }

    xcb_keycode_t first_ = 0;
    std::size_t perCode_ = 0;
    std::vector<xcb_keysym_t> symbols_;
};

} // namespace

// The keys grabbed, and the watch for their presses, which Qt's own connection receives.
class X11GlobalKeys::Grabs final : public QAbstractNativeEventFilter {
public:
    Grabs(xcb_connection_t* connection, xcb_window_t root, std::function<void(const QString&)> onPress)
        : connection_(connection)
        , root_(root)
        , keyboard_(connection)
        , onPress_(std::move(onPress))
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~Grabs() override
    {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(this);
        for (const KeyGrab& grab : grabs_)
            for (const std::uint16_t locks : Locks())
                xcb_ungrab_key(connection_, grab.code, root_, std::uint16_t(grab.modifiers | locks));
        xcb_flush(connection_);
    }

    // Grabs the key in every state of the locks, or in none; whether it could.
    bool Grab(const GlobalKey& key)
    {
        if (key.key.count() != 1)
            return false;
        const QKeyCombination combination = key.key[0];
        const std::optional<KeySymbol> symbol = KeySymbolOf(combination.key());
        const auto code = symbol ? keyboard_.CodeOf(symbol->code) : std::nullopt;
        const std::optional<std::uint16_t> modifiers = Modifiers(combination.keyboardModifiers());
        if (!code || !modifiers)
            return false;
        const KeyGrab grab{key.id, code->first, std::uint16_t(*modifiers | code->second)};
        if (std::any_of(grabs_.begin(), grabs_.end(),
                        [&](const KeyGrab& had) { return had.code == grab.code && had.modifiers == grab.modifiers; }))
            return false; // an earlier key of the program's own
        std::vector<std::uint16_t> grabbed;
        for (const std::uint16_t locks : Locks()) {
            const auto modifiersWithLocks = std::uint16_t(grab.modifiers | locks);
            const auto error =
                Owned(xcb_request_check(connection_,
                                        xcb_grab_key_checked(connection_, 1, root_, modifiersWithLocks, grab.code,
                                                             XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)));
            if (error) { // another client holds it
                for (const std::uint16_t had : grabbed)
                    xcb_ungrab_key(connection_, grab.code, root_, had);
                return false;
            }
            grabbed.push_back(modifiersWithLocks);
        }
        grabs_.push_back(grab);
        return true;
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const int type = event->response_type & 0x7f;
        if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
            return false;
        const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
        if (key->event != root_)
            return false;
        const auto modifiers = std::uint16_t(key->state & 0xff & ~(keyboard_.numLock | XCB_MOD_MASK_LOCK));
        const auto found = std::find_if(grabs_.begin(), grabs_.end(), [&](const KeyGrab& grab) {
            return grab.code == key->detail && grab.modifiers == modifiers;
        });
        if (type == XCB_KEY_RELEASE) {
            held_.erase(key->detail);
            return false;
        }
        // A key held down repeats its press: it counts once.
        if (found == grabs_.end() || !held_.insert(key->detail).second)
            return found != grabs_.end();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [onPress = onPress_, id = found->id] { onPress(id); }, Qt::QueuedConnection);
        return true;
    }

private:
    struct KeyGrab {
        QString id;
        xcb_keycode_t code;
        std::uint16_t modifiers;
    };

    std::vector<std::uint16_t> Locks() const
    {
        std::vector<std::uint16_t> locks{0, XCB_MOD_MASK_LOCK};
        if (keyboard_.numLock)
            locks.insert(locks.end(), {keyboard_.numLock, std::uint16_t(keyboard_.numLock | XCB_MOD_MASK_LOCK)});
        return locks;
    }

    // The X modifiers of Qt's; nothing when the keyboard has none for one of them.
    std::optional<std::uint16_t> Modifiers(Qt::KeyboardModifiers qt) const
    {
        std::uint16_t x = 0;
        const struct {
            Qt::KeyboardModifier qt;
            std::uint16_t x;
        } pairs[] = {{Qt::ShiftModifier, XCB_MOD_MASK_SHIFT},
                     {Qt::ControlModifier, XCB_MOD_MASK_CONTROL},
                     {Qt::AltModifier, keyboard_.alt},
                     {Qt::MetaModifier, keyboard_.super}};
        for (const auto& pair : pairs)
            if (qt & pair.qt) {
                if (!pair.x)
                    return std::nullopt;
                x |= pair.x;
            }
        return x;
    }

    xcb_connection_t* connection_;
    xcb_window_t root_;
    Keyboard keyboard_;
    std::function<void(const QString&)> onPress_;
    std::vector<KeyGrab> grabs_;
    std::set<xcb_keycode_t> held_;
};

X11GlobalKeys::X11GlobalKeys() = default;

X11GlobalKeys::~X11GlobalKeys() = default;

QStringList X11GlobalKeys::Take(const std::vector<GlobalKey>& keys, std::function<void(const QString& id)> onPress)
{
    grabs_.reset();
    QStringList refused;
    xcb_connection_t* connection = QtXcbConnection();
    const xcb_screen_t* screen = connection ? QtRootScreen(connection) : nullptr;
    if (screen && !keys.empty())
        grabs_ = std::make_unique<Grabs>(connection, screen->root, std::move(onPress));
    for (const GlobalKey& key : keys)
        if (!grabs_ || !grabs_->Grab(key))
            refused << key.id;
    return refused;
}

} // namespace platform
