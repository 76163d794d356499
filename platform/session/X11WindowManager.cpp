#include "platform/session/X11WindowManager.h"

#include "platform/x11/Properties.h"
#include "platform/x11/Xcb.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string_view>

namespace platform {

namespace {

// The window a WINDOW property of window names, if it holds one.
std::optional<xcb_window_t> WindowProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property)
{
    const auto named = Property32(connection, window, property, XCB_ATOM_WINDOW, 1);
    if (!named)
        return std::nullopt;
    return named->front();
}

// Whether a modal window of the program keeps input from window: any window but the modal one,
// the windows that belong to it (its menus, say) and pop-ups.
bool BlockedByModalWindow(const QWindow* window)
{
    const QWindow* modal = QGuiApplication::modalWindow();
    if (!modal || !window || window->type() == Qt::Popup || window->type() == Qt::ToolTip)
        return false;
    for (const QWindow* owner = window; owner; owner = owner->transientParent())
        if (owner == modal)
            return false;
    return true;
}

// The major opcode of the X input extension, through which Qt takes the mouse when the server
// offers it; nothing without it.
std::optional<std::uint8_t> InputExtension(xcb_connection_t* connection)
{
    constexpr std::string_view name = "XInputExtension";
    const auto cookie = xcb_query_extension(connection, std::uint16_t(name.size()), name.data());
    const auto reply = Owned(xcb_query_extension_reply(connection, cookie, nullptr));
    if (!reply || !reply->present)
        return std::nullopt;
    return reply->major_opcode;
}

// The window an event of the X server reports a mouse press on, if it is one: a core press, or
// a press of the input extension (a generic event whose type, at byte 8, is XI_ButtonPress and
// whose event window lies at byte 24).
std::optional<xcb_window_t> PressedWindow(const xcb_generic_event_t* event, std::optional<std::uint8_t> input)
{
    const int type = event->response_type & 0x7f;
    if (type == XCB_BUTTON_PRESS)
        return reinterpret_cast<const xcb_button_press_event_t*>(event)->event;
    if (type != XCB_GE_GENERIC || !input)
        return std::nullopt;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(event);
    constexpr std::uint16_t InputButtonPress = 4;
    std::uint16_t eventType;
    std::memcpy(&eventType, bytes + 8, sizeof eventType);
    if (bytes[1] != *input || eventType != InputButtonPress)
        return std::nullopt;
    xcb_window_t window;
    std::memcpy(&window, bytes + 24, sizeof window);
    return window;
}

QWindow* ProgramWindow(xcb_window_t id)
{
    for (QWindow* window : QGuiApplication::allWindows())
        if (window->handle() && window->winId() == id)
            return window;
    return nullptr;
}

// What runs as the X server's window manager, as it names itself on the root window: a window
// of its own that the root names, and that names itself (a property that a manager left behind
// when it ended names a window that is gone).
enum class Manager {
    None,
    Hints, // a window manager that follows the freedesktop.org window manager hints
    // A Wayland compositor built on wlroots (sway, among others), which arranges the windows of
    // X11 programs by its own rules and honours none of the hints for stacking and workspaces.
    Arranging,
};

Manager RunningManager(xcb_connection_t* connection)
{
    const xcb_screen_t* screen = QtRootScreen(connection);
    const auto check = Atom(connection, "_NET_SUPPORTING_WM_CHECK");
    if (!screen || !check)
        return Manager::None;
    const auto manager = WindowProperty(connection, screen->root, *check);
    if (!manager || WindowProperty(connection, *manager, *check) != manager)
        return Manager::None;
    const auto name = Atom(connection, "_NET_WM_NAME");
    const auto utf8 = Atom(connection, "UTF8_STRING");
    if (name && utf8 && PropertyText(connection, *manager, *name, *utf8) == "wlroots wm")
        return Manager::Arranging;
    return Manager::Hints;
}

// A window that asked the X server to keep the window manager out.
bool Unmanaged(const QWidget& window)
{
    return window.windowFlags().testFlag(Qt::X11BypassWindowManagerHint);
}

// Whether an ATOM list property of window holds atom.
bool HasAtom(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property, xcb_atom_t atom)
{
    constexpr std::uint32_t MaxAtoms = 64;
    const auto cookie = xcb_get_property(connection, 0, window, property, XCB_ATOM_ATOM, 0, MaxAtoms);
    const auto reply = Owned(xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->format != 32)
        return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const auto* end = atoms + xcb_get_property_value_length(reply.get()) / 4;
    return std::find(atoms, end, atom) != end;
}

// Asks the window manager, on the root window, to change something of window.
void AskManager(xcb_connection_t* connection, const xcb_screen_t& screen, xcb_window_t window, xcb_atom_t type,
                std::initializer_list<std::uint32_t> data)
{
    const xcb_client_message_event_t request = MakeClientMessage(window, type, data);
    xcb_send_event(connection, 0, screen.root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&request));
}

} // namespace

// Watches the X server's mouse presses before Qt drops those on blocked windows.
class X11WindowManager::PressFilter final : public QAbstractNativeEventFilter {
public:
    PressFilter(xcb_connection_t* connection, std::function<void()> onPress)
        : input_(InputExtension(connection))
        , onPress_(std::move(onPress))
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~PressFilter() override
    {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto pressed = PressedWindow(static_cast<const xcb_generic_event_t*>(message), input_);
        if (pressed && BlockedByModalWindow(ProgramWindow(*pressed)))
            QMetaObject::invokeMethod(QCoreApplication::instance(), onPress_, Qt::QueuedConnection);
        return false;
    }

private:
    std::optional<std::uint8_t> input_;
    std::function<void()> onPress_;
};

X11WindowManager::X11WindowManager() = default;

X11WindowManager::~X11WindowManager() = default;

bool X11WindowManager::CanIconify(const QWidget& window) const
{
    xcb_connection_t* connection = QtXcbConnection();
    if (!connection)
        return true;
    return !Unmanaged(window) && RunningManager(connection) != Manager::None;
}

bool X11WindowManager::KnowsPlaces() const
{
    return QtXcbConnection() != nullptr;
}

std::optional<QMargins> X11WindowManager::FrameExtents(QWidget& window) const
{
    xcb_connection_t* connection = QtXcbConnection();
    if (!connection || Unmanaged(window) || RunningManager(connection) != Manager::Hints)
        return QMargins();
    // The manager notes the frame on the window once it has framed it, before it maps it.
    if (!window.testAttribute(Qt::WA_WState_Created))
        return std::nullopt;
    const auto extents = Atom(connection, "_NET_FRAME_EXTENTS");
    if (!extents)
        return std::nullopt;
    const auto widths = Property32(connection, xcb_window_t(window.winId()), *extents, XCB_ATOM_CARDINAL, 4);
    if (!widths)
        return std::nullopt;
    // In the order left, right, top, bottom.
    return QMargins(int((*widths)[0]), int((*widths)[2]), int((*widths)[1]), int((*widths)[3]));
}

void X11WindowManager::OnBlockedPress(std::function<void()> onPress)
{
    pressFilter_.reset();
    if (xcb_connection_t* connection = QtXcbConnection(); onPress && connection)
        pressFilter_ = std::make_unique<PressFilter>(connection, std::move(onPress));
}

void X11WindowManager::KeepAboveAll(QWidget& window)
{
    // Such a compositor shows a window it does not manage where the window puts itself, above
    // every window it manages, whatever workspace is on view.
    if (xcb_connection_t* connection = QtXcbConnection();
        connection && RunningManager(connection) == Manager::Arranging)
        window.setWindowFlag(Qt::X11BypassWindowManagerHint);
}

void X11WindowManager::OnAllWorkspaces(QWidget& window)
{
    xcb_connection_t* connection = QtXcbConnection();
    if (!connection || !window.testAttribute(Qt::WA_WState_Created) || Unmanaged(window))
        return;
    const xcb_screen_t* screen = QtRootScreen(connection);
    // Also for a window manager that starts later and takes on the windows already shown.
    const auto desktop = Atom(connection, "_NET_WM_DESKTOP", false);
    const auto state = Atom(connection, "_NET_WM_STATE", false);
    const auto sticky = Atom(connection, "_NET_WM_STATE_STICKY", false);
    if (!screen || !desktop || !state || !sticky)
        return;
    const auto id = xcb_window_t(window.winId());
    constexpr std::uint32_t AllWorkspaces = 0xFFFFFFFF;
    // A manager reads the properties when it maps the window; some go by the workspace, others
    // by the sticky state. Qt adds its own states to the ones there when it maps the window.
    if (!window.windowHandle() || !window.windowHandle()->isVisible()) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, *desktop, XCB_ATOM_CARDINAL, 32, 1, &AllWorkspaces);
        if (!HasAtom(connection, id, *state, *sticky))
            xcb_change_property(connection, XCB_PROP_MODE_APPEND, id, *state, XCB_ATOM_ATOM, 32, 1, &*sticky);
    }
    // A window it manages already, shown or iconified, changes only when asked on the root
    // window; it ignores the requests for a window it does not manage.
    constexpr std::uint32_t FromApplication = 1;
    constexpr std::uint32_t AddState = 1;
    AskManager(connection, *screen, id, *desktop, {AllWorkspaces, FromApplication});
    AskManager(connection, *screen, id, *state, {AddState, *sticky, 0, FromApplication});
    xcb_flush(connection);
}

void X11WindowManager::FloatAtOwnSize(QWidget& window)
{
    // Such compositors tile the windows of X11 programs, but float dialogs.
    if (xcb_connection_t* connection = QtXcbConnection();
        connection && RunningManager(connection) == Manager::Arranging)
        window.setWindowFlag(Qt::Dialog);
}

} // namespace platform
