#include "platform/tray/QtNotificationArea.h"

#include "platform/session/ErrorReport.h"
#include "platform/text/Characters.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QStyleHints>
#include <QSystemTrayIcon>

namespace platform {

QtNotificationArea::QtNotificationArea(Dialogs& dialogs)
    : dialogs_(dialogs)
{
}

QtNotificationArea::~QtNotificationArea()
{
    if (!icons_.empty() && qApp)
        qApp->removeEventFilter(this);
}

WindowHandle QtNotificationArea::CreateMessageWindow(WindowProc proc)
{
    const WindowHandle window = nextWindow_++;
    windows_.emplace(window, std::move(proc));
    return window;
}

void QtNotificationArea::DestroyMessageWindow(WindowHandle window)
{
    windows_.erase(window);
}

void QtNotificationArea::Apply(Icon& icon, const NotifyIconData& data)
{
    if (data.uFlags & NIF_MESSAGE)
        icon.callbackMessage = data.uCallbackMessage;
    if (data.uFlags & NIF_ICON)
        icon.trayIcon->setIcon(data.hIcon);
    if (data.uFlags & NIF_TIP)
        icon.trayIcon->setToolTip(FirstCharacters(data.szTip, NotifyTipLength));
}

bool QtNotificationArea::NotifyIcon(NotifyMessage message, const NotifyIconData& data)
{
    const IconKey key{data.hWnd, data.uID};
    const auto found = icons_.find(key);
    switch (message) {
    case NIM_ADD: {
        if (found != icons_.end() || !windows_.contains(data.hWnd))
            return false;
        Icon icon{new QSystemTrayIcon(this)};
        Apply(icon, data);
        connect(icon.trayIcon, &QSystemTrayIcon::activated, this,
                [this, key](QSystemTrayIcon::ActivationReason reason) {
                    switch (reason) {
                    case QSystemTrayIcon::Trigger: Deliver(key, WM_LBUTTONDOWN); break;
                    case QSystemTrayIcon::DoubleClick: Deliver(key, WM_LBUTTONDBLCLK); break;
                    case QSystemTrayIcon::Context: Deliver(key, WM_RBUTTONDOWN); break;
                    case QSystemTrayIcon::MiddleClick: Deliver(key, WM_MBUTTONDOWN); break;
                    case QSystemTrayIcon::Unknown: break;
                    }
                });
        // Shown even while no tray host runs: Qt then puts the icon in as soon as one starts.
        icon.trayIcon->show();
        if (icons_.empty())
            qApp->installEventFilter(this);
        icons_.emplace(key, icon);
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
        found->second.trayIcon->hide();
        // The icon may be the one whose signal is being delivered.
        found->second.trayIcon->deleteLater();
        icons_.erase(found);
        if (icons_.empty())
            qApp->removeEventFilter(this);
        return true;
    }
    return false;
}

void QtNotificationArea::Deliver(const IconKey& key, std::intptr_t mouseMessage)
{
    const auto icon = icons_.find(key);
    const auto window = windows_.find(key.first);
    if (icon == icons_.end() || window == windows_.end())
        return;
    const WindowProc proc = window->second; // the procedure may destroy its window
    ReportFailure(dialogs_, [&] { proc(icon->second.callbackMessage, key.second, mouseMessage); });
}

// Over the XEmbed tray Qt reports no right double click: its second press only reaches the
// icon's own window, as a double-click event, which is caught here. The icon is the one under
// the pointer, or the only one.
bool QtNotificationArea::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonDblClick || !watched->inherits("QSystemTrayIconSys"))
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::RightButton)
        return false;
    const QPoint at = mouse->globalPosition().toPoint();
    for (const auto& [key, icon] : icons_) {
        if (icon.trayIcon->geometry().contains(at) || icons_.size() == 1) {
            const IconKey hit = key; // delivering may remove the icon
            Deliver(hit, WM_RBUTTONDBLCLK);
            break;
        }
    }
    return false;
}

int QtNotificationArea::DoubleClickTime() const
{
    return QGuiApplication::styleHints()->mouseDoubleClickInterval();
}

QPoint QtNotificationArea::CursorPos() const
{
    return QCursor::pos();
}

bool QtNotificationArea::HostPresent() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

} // namespace platform
