#include "platform/tray/SystemTraySelection.h"

#include "platform/tray/TrayLog.h"
#include "platform/x11/Properties.h"
#include "platform/x11/Xcb.h"

#include <QCoreApplication>

#include <cstdint>

namespace platform {

namespace {

constexpr std::uint32_t SystemTrayRequestDock = 0;

xcb_window_t SelectionOwner(xcb_connection_t* connection, xcb_atom_t selection)
{
    const auto reply =
        Owned(xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr));
    return reply ? reply->owner : xcb_window_t(XCB_WINDOW_NONE);
}

// Adds mask to the events this connection receives from window, keeping those it already
// receives (Qt's among them); false when the window is gone.
bool AddEventMask(xcb_connection_t* connection, xcb_window_t window, std::uint32_t mask)
{
    const auto attributes =
        Owned(xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr));
    if (!attributes)
        return false;
    if ((attributes->your_event_mask & mask) == mask)
        return true;
    const std::uint32_t events = attributes->your_event_mask | mask;
    const auto error = Owned(xcb_request_check(
        connection, xcb_change_window_attributes_checked(connection, window, XCB_CW_EVENT_MASK, &events)));
    return !error;
}

} // namespace

SystemTraySelection::SystemTraySelection(QObject* parent)
    : QObject(parent)
    , connection_(QtXcbConnection())
{
    if (!connection_)
        return;
    const xcb_screen_t* rootScreen = QtRootScreen(connection_);
    if (!rootScreen)
        return;
    root_ = rootScreen->root;
    const auto atom = [this](const QByteArray& name) {
        return Atom(connection_, name.toStdString(), false).value_or(XCB_ATOM_NONE);
    };
    selection_ = atom("_NET_SYSTEM_TRAY_S" + QByteArray::number(QtScreenNumber()));
    manager_ = atom("MANAGER");
    opcode_ = atom("_NET_SYSTEM_TRAY_OPCODE");
    visual_ = atom("_NET_SYSTEM_TRAY_VISUAL");
    // A starting tray announces itself to the root window's structure watchers.
    AddEventMask(connection_, root_, XCB_EVENT_MASK_STRUCTURE_NOTIFY);
    QCoreApplication::instance()->installNativeEventFilter(this);
    owner_ = WatchedOwner();
}

SystemTraySelection::~SystemTraySelection()
{
    if (connection_ && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

// The selection's owner, watched for its end. A tray may end between the question and the
// watch, or hand the selection on; then the question is asked again.
xcb_window_t SystemTraySelection::WatchedOwner() const
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        const xcb_window_t owner = SelectionOwner(connection_, selection_);
        if (owner == XCB_WINDOW_NONE)
            return owner;
        if (AddEventMask(connection_, owner, XCB_EVENT_MASK_STRUCTURE_NOTIFY)
            && SelectionOwner(connection_, selection_) == owner)
            return owner;
        qCDebug(trayLog) << "The XEmbed tray" << Qt::hex << owner << "went while it was being watched";
    }
    qCWarning(trayLog) << "The XEmbed tray kept changing hands; taken as none until the next one announces itself";
    return XCB_WINDOW_NONE;
}

void SystemTraySelection::Refresh()
{
    const xcb_window_t owner = WatchedOwner();
    if (owner == owner_)
        return;
    if (owner == XCB_WINDOW_NONE)
        qCDebug(trayLog) << "The XEmbed tray has gone";
    else
        qCDebug(trayLog) << "The XEmbed tray is window" << Qt::hex << owner;
    owner_ = owner;
    emit OwnerChanged();
}

bool SystemTraySelection::OffersAlphaVisual() const
{
    if (!Present())
        return false;
    const auto id = Property32(connection_, owner_, visual_, XCB_ATOM_VISUALID, 1);
    const auto visual = id ? FindVisual(connection_, id->front()) : std::nullopt;
    return visual && visual->depth == 32;
}

void SystemTraySelection::RequestDock(xcb_window_t window) const
{
    if (!Present())
        return;
    const xcb_client_message_event_t request =
        MakeClientMessage(owner_, opcode_, {XCB_CURRENT_TIME, SystemTrayRequestDock, window});
    // Checked, so that a tray gone meanwhile is no error for Qt to report.
    const auto error = Owned(xcb_request_check(connection_,
                                               xcb_send_event_checked(connection_, 0, owner_, XCB_EVENT_MASK_NO_EVENT,
                                                                      reinterpret_cast<const char*>(&request))));
    if (error)
        qCWarning(trayLog) << "The XEmbed tray went away before it could take the icon in: X error"
                           << error->error_code;
}

bool SystemTraySelection::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7f) {
    case XCB_CLIENT_MESSAGE: {
        const auto* announcement = reinterpret_cast<const xcb_client_message_event_t*>(event);
        if (announcement->window == root_ && announcement->type == manager_ && announcement->format == 32
            && announcement->data.data32[1] == selection_)
            Refresh();
        break;
    }
    case XCB_DESTROY_NOTIFY:
        if (Present() && reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window == owner_)
            Refresh();
        break;
    }
    return false;
}

} // namespace platform
