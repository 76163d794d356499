#include "tray/KyTray95.h"

#include "platform/Timers.h"
#include "platform/text/Characters.h"
#include "platform/text/Encoding.h"

#include <QFile>
#include <QImageReader>
#include <QMenu>
#include <QPixmap>

bool StateGuard = false;

namespace {

// The longest name of an icon resource.
constexpr qsizetype MaxResourceName = 255;

// An icon file's picture. A file that cannot be opened fails with EFOpenError, and so does one
// whose content is no picture: either way there is nothing to show.
QIcon LoadIconFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError("Cannot open file \"" + platform::ToBytes(path) + "\". "
                          + platform::ToBytes(file.errorString()));
    QImageReader reader(&file);
    const QImage image = reader.read();
    if (image.isNull())
        throw EFOpenError("Cannot read file \"" + platform::ToBytes(path) + "\". "
                          + platform::ToBytes(reader.errorString()));
    return QIcon(QPixmap::fromImage(image));
}

// An icon of the program's own resources by name ("stackle" or "stackle.png"); an empty icon
// when there is no such resource.
QIcon LoadResourceIcon(const QString& name)
{
    if (name.isEmpty() || name.size() > MaxResourceName)
        return {};
    for (const QString& path : {QStringLiteral(":/") + name, QStringLiteral(":/") + name + QStringLiteral(".png")}) {
        if (QFile::exists(path))
            return QIcon(path);
    }
    return {};
}

} // namespace

TKyTrayIconAnimation::TKyTrayIconAnimation(TKyTrayIcon95& trayIcon)
    : trayIcon_(trayIcon)
{
}

TKyTrayIconAnimation::~TKyTrayIconAnimation() = default;

void TKyTrayIconAnimation::SetInterval(int milliseconds)
{
    if (milliseconds == interval_)
        return;
    interval_ = milliseconds;
    if (trayIcon_.Active() && trayIcon_.State() == tsAnimated) {
        trayIcon_.StopAnimation();
        trayIcon_.StartAnimation();
    }
}

void TKyTrayIconAnimation::SetIcons(const QStringList& icons)
{
    icons_ = icons;
    if (trayIcon_.Active() && trayIcon_.State() == tsAnimated)
        frameIndex_ = 0;
}

TKyTrayIconMsgWindow::TKyTrayIconMsgWindow(TKyTrayIcon95& trayIcon, platform::NotificationArea& area,
                                           platform::Timers& timers)
    : trayIcon_(trayIcon)
    , area_(area)
    , clickTimer_(timers.CreateTimer([this] { ClickTimerTimer(); }))
{
    handle_ = area_.CreateMessageWindow([this](std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
        WndProc(message, wParam, lParam);
    });
}

TKyTrayIconMsgWindow::~TKyTrayIconMsgWindow()
{
    area_.DestroyMessageWindow(handle_);
}

bool TKyTrayIconMsgWindow::ClickTimerRunning() const
{
    return clickTimer_->Enabled();
}

void TKyTrayIconMsgWindow::WndProc(std::uint32_t message, std::uintptr_t, std::intptr_t lParam)
{
    if (message != TKyTrayIcon95::CallbackMessage)
        return;
    switch (lParam) {
    case platform::WM_LBUTTONDOWN:
        lastButton_ = mbLeft;
        ArmClickTimer();
        break;
    case platform::WM_RBUTTONDOWN:
        lastButton_ = mbRight;
        ArmClickTimer();
        break;
    case platform::WM_LBUTTONDBLCLK:
    case platform::WM_RBUTTONDBLCLK: doubleClicked_ = true; break;
    default: // moves, releases, the middle button
        break;
    }
}

void TKyTrayIconMsgWindow::ArmClickTimer()
{
    doubleClicked_ = false;
    // Neither call restarts a timer that already runs with this interval.
    clickTimer_->SetInterval(area_.DoubleClickTime());
    clickTimer_->SetEnabled(true);
}

void TKyTrayIconMsgWindow::ClickTimerTimer()
{
    clickTimer_->SetEnabled(false);
    // Each branch ends with the event or the menu: a handler may end the tray icon and this
    // window with it.
    if (doubleClicked_) {
        trayIcon_.Raise(trayIcon_.OnDblClick);
    } else if (lastButton_ == mbRight && trayIcon_.AutoPopup() && trayIcon_.PopupMenu()) {
        trayIcon_.PopupMenu()->popup(area_.CursorPos());
    } else {
        trayIcon_.Raise(trayIcon_.OnClick);
    }
}

TKyTrayIcon95::TKyTrayIcon95(QObject* owner, platform::NotificationArea& area, platform::Timers& timers)
    : QObject(owner)
    , area_(area)
    , timers_(timers)
    , msgWindow_(std::make_unique<TKyTrayIconMsgWindow>(*this, area, timers))
    , animation_(std::make_unique<TKyTrayIconAnimation>(*this))
{
    nid_.hWnd = msgWindow_->Handle();
    nid_.uID = IconId;
    nid_.uCallbackMessage = CallbackMessage;
}

TKyTrayIcon95::~TKyTrayIcon95()
{
    Deactivate();
}

void TKyTrayIcon95::Raise(const TNotifyEvent& event)
{
    if (event)
        event(*this);
}

void TKyTrayIcon95::SetIcon(const QIcon& icon)
{
    icon_ = icon;
    RefreshIcon();
}

void TKyTrayIcon95::SetDisabledIcon(const QIcon& icon)
{
    disabledIcon_ = icon;
    RefreshIcon();
}

void TKyTrayIcon95::SetActive(bool active)
{
    if (active)
        Activate();
    else
        Deactivate();
}

void TKyTrayIcon95::Activate()
{
    if (active_)
        return;
    active_ = true;
    nid_.uFlags = platform::NIF_MESSAGE | platform::NIF_ICON | platform::NIF_TIP;
    LoadWorkIcon();
    SendNotification(platform::NIM_ADD);
    OfferMenu();
    if (state_ == tsAnimated)
        StartAnimation();
}

void TKyTrayIcon95::Deactivate()
{
    if (!active_)
        return;
    active_ = false;
    if (state_ == tsAnimated)
        StopAnimation();
    SendNotification(platform::NIM_DELETE);
}

void TKyTrayIcon95::SendNotification(platform::NotifyMessage message)
{
    platform::NotifyIconData data = nid_;
    data.cbSize = RecordSize;
    data.hIcon = workIcon_;
    area_.NotifyIcon(message, data); // a failure leaves the icon as it was; nothing to do about it
}

void TKyTrayIcon95::OfferMenu()
{
    area_.SetIconMenu(nid_.hWnd, nid_.uID, autoPopup_ ? popupMenu_.data() : nullptr);
}

void TKyTrayIcon95::SetAutoPopup(bool autoPopup)
{
    autoPopup_ = autoPopup;
    if (active_)
        OfferMenu();
}

void TKyTrayIcon95::SetPopupMenu(QMenu* menu)
{
    popupMenu_ = menu;
    if (active_)
        OfferMenu();
}

void TKyTrayIcon95::LoadWorkIcon()
{
    switch (state_) {
    case tsEnabled: workIcon_ = icon_; break;
    case tsDisabled: workIcon_ = disabledIcon_; break;
    case tsAnimated: LoadAnimationFrame(animation_->frameIndex_); break;
    }
}

void TKyTrayIcon95::RefreshIcon()
{
    LoadWorkIcon();
    ModifyWhenActive();
}

void TKyTrayIcon95::ModifyWhenActive()
{
    if (active_) {
        nid_.uFlags = platform::NIF_MESSAGE | platform::NIF_ICON | platform::NIF_TIP;
        SendNotification(platform::NIM_MODIFY);
    }
}

void TKyTrayIcon95::SetShowHint(bool showHint)
{
    showHint_ = showHint;
    nid_.szTip = showHint_ ? platform::FirstCharacters(hint_, platform::NotifyTipLength) : QString();
    ModifyWhenActive();
}

void TKyTrayIcon95::SetHint(const QString& hint)
{
    if (hint == hint_)
        return;
    hint_ = hint;
    if (showHint_)
        SetShowHint(true);
}

void TKyTrayIcon95::SetState(TKyTrayIconState state)
{
    if (StateGuard) {
        StateGuard = false;
        throw EInvalidOperation("You cannot modify the state property in the OnStateChanging event !!!");
    }
    if (state == state_)
        return;
    if (!active_) {
        state_ = state; // shown when the icon is activated
        return;
    }
    StateGuard = true;
    try {
        if (OnStateChanging)
            OnStateChanging(*this, state);
    } catch (...) {
        StateGuard = false;
        throw;
    }
    StateGuard = false;
    if (state == state_)
        return;
    if (state_ == tsAnimated)
        StopAnimation();
    state_ = state;
    RefreshIcon();
    if (state_ == tsAnimated)
        StartAnimation();
}

void TKyTrayIcon95::LoadAnimationFrame(int index)
{
    const QStringList& icons = animation_->icons_;
    if (index < 0 || index >= icons.size())
        return;
    if (animation_->options_ == aoIconsInExe) {
        workIcon_ = LoadResourceIcon(icons[index]);
        return;
    }
    try {
        workIcon_ = LoadIconFile(icons[index]);
    } catch (const EFOpenError&) {
        // The frame is skipped: the icon keeps the image it has.
    }
}

void TKyTrayIcon95::StartAnimation()
{
    animation_->frameIndex_ = 0;
    AnimationStep();
    // An OnAnimation handler may have changed the state.
    if (state_ != tsAnimated)
        return;
    animation_->timer_ = timers_.CreateTimer([this] { AnimationStep(); });
    animation_->timer_->SetInterval(animation_->interval_);
    animation_->timer_->SetEnabled(true);
}

void TKyTrayIcon95::StopAnimation()
{
    animation_->timer_.reset();
}

void TKyTrayIcon95::AnimationStep()
{
    try {
        Raise(OnAnimation);
        RefreshIcon();
    } catch (const EFOpenError&) {
        // An OnAnimation handler that fails to open a file ends this step only, as a frame that
        // cannot be read does.
    }
    TKyTrayIconAnimation& animation = *animation_;
    animation.frameIndex_ = animation.frameIndex_ < animation.icons_.size() - 1 ? animation.frameIndex_ + 1 : 0;
}
