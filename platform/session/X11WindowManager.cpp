#include "platform/session/X11WindowManager.h"

#include "platform/x11/Properties.h"
#include "platform/x11/Xcb.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QWidget>
#include <QWindow>

#include <cstdint>
#include <cstring>
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

bool X11WindowManager::CanIconify() const
{
    xcb_connection_t* connection = QtXcbConnection();
    if (!connection)
        return true;
    const xcb_screen_t* screen = QtRootScreen(connection);
    const auto check = Atom(connection, "_NET_SUPPORTING_WM_CHECK");
    if (!screen || !check)
        return false;
    // The root names the manager's own window, which names itself: a property that a manager
    // left behind when it ended names a window that is gone.
    const auto manager = WindowProperty(connection, screen->root, *check);
    return manager && WindowProperty(connection, *manager, *check) == manager;
}

std::optional<QMargins> X11WindowManager::FrameExtents(QWidget& window) const
{
    xcb_connection_t* connection = QtXcbConnection();
    if (!connection || !CanIconify())
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

void X11WindowManager::OnAllWorkspaces(QWidget& window)
{
    xcb_connection_t* connection = QtXcbConnection();
    if (!connection || !window.testAttribute(Qt::WA_WState_Created))
        return;
    const xcb_screen_t* screen = QtRootScreen(connection);
    // Also for a window manager that starts later and takes on the windows already shown.
    const auto desktop = Atom(connection, "_NET_WM_DESKTOP", false);
    if (!screen || !desktop)
        return;
    const auto id = xcb_window_t(window.winId());
    constexpr std::uint32_t AllWorkspaces = 0xFFFFFFFF;
    // The manager reads the property when the window is mapped.
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, *desktop, XCB_ATOM_CARDINAL, 32, 1, &AllWorkspaces);
    // A window it manages already, shown or iconified, moves only when asked on the root window;
    // it ignores the request for a window it does not manage.
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = id;
    request.type = *desktop;
    request.data.data32[0] = AllWorkspaces;
    request.data.data32[1] = 1; // asked by the application itself
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(connection);
}

} // namespace platform
