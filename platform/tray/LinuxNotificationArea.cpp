#include "platform/tray/LinuxNotificationArea.h"

#include "platform/session/ErrorReport.h"
#include "platform/text/Characters.h"
#include "platform/tray/TrayLog.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QStyleHints>
#include <QTimer>

namespace platform {

namespace {

// How often a wait for an icon looks at the time, in milliseconds.
constexpr int ArrivalPollInterval = 10;

} // namespace

LinuxNotificationArea::LinuxNotificationArea(Dialogs& dialogs, TrayIconViewMaker makeViews)
    : dialogs_(dialogs)
    , makeViews_(std::move(makeViews))
{
}

LinuxNotificationArea::~LinuxNotificationArea()
{
    for (auto& [key, icon] : icons_)
        Remove(icon);
}

WindowHandle LinuxNotificationArea::CreateMessageWindow(WindowProc proc)
{
    const WindowHandle window = nextWindow_++;
    windows_.emplace(window, std::move(proc));
    return window;
}

void LinuxNotificationArea::DestroyMessageWindow(WindowHandle window)
{
    windows_.erase(window);
}

void LinuxNotificationArea::Apply(Icon& icon, const NotifyIconData& data)
{
    if (data.uFlags & NIF_MESSAGE)
        icon.callbackMessage = data.uCallbackMessage;
    for (TrayIconView* view : {icon.statusNotifier, icon.xembed}) {
        if (data.uFlags & NIF_ICON)
            view->SetIcon(data.hIcon);
        if (data.uFlags & NIF_TIP)
            view->SetToolTip(FirstCharacters(data.szTip, NotifyTipLength));
    }
}

void LinuxNotificationArea::Remove(Icon& icon)
{
    for (TrayIconView* view : {icon.statusNotifier, icon.xembed}) {
        view->disconnect(this);
        view->Hide();
        // The view may be the one whose signal is being delivered.
        view->deleteLater();
    }
}

bool LinuxNotificationArea::NotifyIcon(NotifyMessage message, const NotifyIconData& data)
{
    const IconKey key{data.hWnd, data.uID};
    const auto found = icons_.find(key);
    switch (message) {
    case NIM_ADD: {
        if (found != icons_.end() || !windows_.contains(data.hWnd))
            return false;
        TrayIconViews views = makeViews_();
        Icon& icon = icons_.emplace(key, Icon{views.statusNotifier.release(), views.xembed.release(), 0, std::nullopt})
                         .first->second;
        for (TrayIconView* view : {icon.statusNotifier, icon.xembed}) {
            view->setParent(this);
            connect(view, &TrayIconView::Pressed, this,
                    [this, key](std::intptr_t mouseMessage) { Deliver(key, mouseMessage); });
            connect(view, &TrayIconView::HostChanged, this, [this, key] { Place(icons_.at(key)); });
        }
        Apply(icon, data);
        Place(icon);
        return true;
    }
    case NIM_MODIFY:
        if (found == icons_.end())
            return false;
        Apply(found->second, data);
        return true;
    case NIM_DELETE:
        if (found == icons_.end())
            return false;
        Remove(found->second);
        icons_.erase(found);
        return true;
    }
    return false;
}

void LinuxNotificationArea::Place(Icon& icon)
{
    const bool toStatusNotifier = icon.statusNotifier->HostAvailable();
    if (icon.inStatusNotifier == toStatusNotifier)
        return;
    icon.inStatusNotifier = toStatusNotifier;
    qCDebug(trayLog) << (toStatusNotifier ? "The icon goes to the status-notifier host"
                                          : "The icon goes to the XEmbed tray, or waits for one");
    // Out of the one before into the other, so that it is never in both.
    (toStatusNotifier ? icon.xembed : icon.statusNotifier)->Hide();
    (toStatusNotifier ? icon.statusNotifier : icon.xembed)->Show();
}

void LinuxNotificationArea::SetIconMenu(WindowHandle window, std::uint32_t id, QMenu* menu)
{
    const auto found = icons_.find({window, id});
    if (found == icons_.end())
        return;
    found->second.statusNotifier->SetMenu(menu);
    found->second.xembed->SetMenu(menu);
}

bool LinuxNotificationArea::Arriving(const IconKey& key) const
{
    const auto found = icons_.find(key);
    if (found == icons_.end())
        return false;
    const Icon& icon = found->second;
    if (icon.statusNotifier->Shown() || icon.xembed->Shown())
        return false;
    // A status-notifier host still being looked for may take the icon from the other kind.
    return (*icon.inStatusNotifier ? icon.statusNotifier : icon.xembed)->HostAvailable()
        || icon.statusNotifier->HostPending();
}

bool LinuxNotificationArea::IconShown(WindowHandle window, std::uint32_t id, std::chrono::milliseconds patience)
{
    const IconKey key{window, id};
    const QDeadlineTimer deadline(patience);
    if (Arriving(key) && !deadline.hasExpired()) {
        QTimer wake; // wakes the wait to look at the time
        wake.start(ArrivalPollInterval);
        while (Arriving(key) && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::ExcludeUserInputEvents);
    }
    const auto found = icons_.find(key);
    return found != icons_.end() && (found->second.statusNotifier->Shown() || found->second.xembed->Shown());
}

void LinuxNotificationArea::Deliver(const IconKey& key, std::intptr_t mouseMessage)
{
    const auto icon = icons_.find(key);
    const auto window = windows_.find(key.first);
    if (icon == icons_.end() || window == windows_.end())
        return;
    const WindowProc proc = window->second; // the procedure may destroy its window
    ReportFailure(dialogs_, [&] { proc(icon->second.callbackMessage, key.second, mouseMessage); });
}

int LinuxNotificationArea::DoubleClickTime() const
{
    return QGuiApplication::styleHints()->mouseDoubleClickInterval();
}

QPoint LinuxNotificationArea::CursorPos() const
{
    return QCursor::pos();
}

} // namespace platform
