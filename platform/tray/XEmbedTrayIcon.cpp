#include "platform/tray/XEmbedTrayIcon.h"

#include "platform/tray/SystemTraySelection.h"
#include "platform/tray/TrayLog.h"
#include "platform/tray/XEmbedIconWindow.h"
#include "platform/x11/Xcb.h"

#include <QTimer>

namespace platform {

namespace {

// How long a tray may take to embed the icon after the dock request before it is said to have
// ignored it, in milliseconds.
constexpr int DockAnswerTime = 5000;
// How long after the tray ended the icon's window it is offered a new one, in milliseconds.
constexpr int RedockDelay = 500;

} // namespace

XEmbedTrayIcon::XEmbedTrayIcon(QObject* parent)
    : TrayIconView(parent)
{
    redock_.setSingleShot(true);
    redock_.setInterval(RedockDelay);
    connect(&redock_, &QTimer::timeout, this, [this] {
        if (wanted_ && !window_ && HostAvailable())
            Dock();
    });
    if (!QtXcbConnection())
        return;
    tray_ = new SystemTraySelection(this);
    connect(tray_, &SystemTraySelection::OwnerChanged, this, &XEmbedTrayIcon::TrayChanged);
}

XEmbedTrayIcon::~XEmbedTrayIcon()
{
    delete window_;
}

void XEmbedTrayIcon::SetIcon(const QIcon& icon)
{
    icon_ = icon;
    if (window_)
        window_->SetIcon(icon);
}

void XEmbedTrayIcon::SetToolTip(const QString& tip)
{
    tip_ = tip;
    if (window_)
        window_->setToolTip(tip);
}

void XEmbedTrayIcon::SetMenu(QMenu*)
{
}

void XEmbedTrayIcon::Show()
{
    wanted_ = true;
    if (!window_ && HostAvailable())
        Dock();
}

void XEmbedTrayIcon::Hide()
{
    wanted_ = false;
    redock_.stop();
    const bool wasEmbedded = embedded_;
    Undock();
    if (wasEmbedded)
        emit HostChanged();
}

bool XEmbedTrayIcon::Shown() const
{
    return embedded_ && window_->Viewable();
}

bool XEmbedTrayIcon::HostAvailable() const
{
    return tray_ && tray_->Present();
}

// A window of its own for each tray: it never carries anything over from an earlier one.
void XEmbedTrayIcon::Dock()
{
    window_ = new XEmbedIconWindow(tray_->Root(), tray_->OffersAlphaVisual());
    window_->SetIcon(icon_);
    window_->setToolTip(tip_);
    connect(window_, &XEmbedIconWindow::Pressed, this, &XEmbedTrayIcon::Pressed);
    connect(window_, &XEmbedIconWindow::Embedded, this, &XEmbedTrayIcon::WindowEmbedded);
    connect(window_, &XEmbedIconWindow::Lost, this, &XEmbedTrayIcon::WindowLost);
    tray_->RequestDock(xcb_window_t(window_->winId()));
    QTimer::singleShot(DockAnswerTime, window_, [this] {
        if (!embedded_)
            qCWarning(trayLog) << "The XEmbed tray has not taken the icon in" << DockAnswerTime << "ms after asked";
    });
}

// Destroying the window takes it out of the tray. Later, as this may run while the window
// reports one of its own events.
void XEmbedTrayIcon::Undock()
{
    if (!window_)
        return;
    disconnect(window_, nullptr, this, nullptr);
    window_->hide();
    window_->deleteLater();
    window_ = nullptr;
    embedded_ = false;
}

void XEmbedTrayIcon::TrayChanged()
{
    Undock();
    if (wanted_ && HostAvailable())
        Dock();
    emit HostChanged();
}

void XEmbedTrayIcon::WindowEmbedded(bool embedded)
{
    if (embedded == embedded_)
        return;
    embedded_ = embedded;
    qCDebug(trayLog) << (embedded ? "The XEmbed tray took the icon in" : "The XEmbed tray let the icon go");
    if (embedded)
        window_->ShowEmbedded();
    else
        window_->hide(); // back on the root window, where it must not show
    emit HostChanged();
}

// The tray is done with the window: the icon is out of it, and goes back in a new window.
void XEmbedTrayIcon::WindowLost()
{
    qCDebug(trayLog) << "The XEmbed tray destroyed, closed or unmapped the icon's window; it is offered a new one";
    const bool wasEmbedded = embedded_;
    Undock();
    if (wasEmbedded)
        emit HostChanged();
    if (wanted_)
        redock_.start();
}

} // namespace platform
