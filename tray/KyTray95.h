#pragma once

#include "platform/NotificationArea.h"

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <stdexcept>

class QMenu;

namespace platform {
class Timer;
class Timers;
} // namespace platform

// What a tray icon shows: its icon, its disabled icon, or the frames of its animation in turn.
enum TKyTrayIconState { tsEnabled = 0, tsDisabled = 1, tsAnimated = 2 };

// What the entries of an animation name: icons of the program's own resources, or icon files.
enum TKyTrayIconAnimationOptions { aoIconsInExe = 0, aoIconsAreFiles = 1 };

class TKyTrayIcon95;

using TNotifyEvent = std::function<void(TKyTrayIcon95& sender)>;
// Raised before the state changes; the handler may change newState, but not the state itself.
using TKyTrayIconStateChangingEvent = std::function<void(TKyTrayIcon95& sender, TKyTrayIconState& newState)>;

// An operation that the object's present state does not allow.
class EInvalidOperation : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// A file that cannot be opened.
class EFOpenError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// True only while an OnStateChanging handler runs, of whichever tray icon: the whole program
// shares it, so no such handler can change the state of any tray icon.
extern bool StateGuard;

// The animation of a tray icon: its frames, their pace and the timer that shows them.
class TKyTrayIconAnimation {
public:
    explicit TKyTrayIconAnimation(TKyTrayIcon95& trayIcon);
    ~TKyTrayIconAnimation();

    // Milliseconds per frame. A new value restarts a running animation at its first frame.
    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);
    // The frames: icon file paths, or names of the program's icon resources. A new list is
    // shown from its first frame on at the next tick.
    const QStringList& Icons() const { return icons_; }
    void SetIcons(const QStringList& icons);
    TKyTrayIconAnimationOptions Options() const { return options_; }
    void SetOptions(TKyTrayIconAnimationOptions options) { options_ = options; }

    // The frame to show next.
    int FrameIndex() const { return frameIndex_; }
    // The timer exists only while the icon is active and animated.
    bool Running() const { return timer_ != nullptr; }

private:
    friend class TKyTrayIcon95;

    TKyTrayIcon95& trayIcon_;
    int interval_ = 1000;
    QStringList icons_;
    TKyTrayIconAnimationOptions options_ = aoIconsAreFiles;
    std::unique_ptr<platform::Timer> timer_;
    int frameIndex_ = 0;
};

// The hidden window that receives the notification area's callbacks for a tray icon and tells
// a click from a double click: a press arms the click timer for the double-click time, and what
// arrived until it fires decides. A press while it runs does not restart it, so the time counts
// from the first press of a burst, and any press clears what a double click had set.
class TKyTrayIconMsgWindow {
public:
    enum TMouseButton { mbLeft, mbRight };

    TKyTrayIconMsgWindow(TKyTrayIcon95& trayIcon, platform::NotificationArea& area, platform::Timers& timers);
    ~TKyTrayIconMsgWindow();
    TKyTrayIconMsgWindow(const TKyTrayIconMsgWindow&) = delete;
    TKyTrayIconMsgWindow& operator=(const TKyTrayIconMsgWindow&) = delete;

    platform::WindowHandle Handle() const { return handle_; }
    bool ClickTimerRunning() const;

private:
    void WndProc(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
    void ArmClickTimer();
    void ClickTimerTimer();

    TKyTrayIcon95& trayIcon_;
    platform::NotificationArea& area_;
    platform::WindowHandle handle_ = 0;
    TMouseButton lastButton_ = mbLeft;
    bool doubleClicked_ = false;
    std::unique_ptr<platform::Timer> clickTimer_;
};

// One icon in the desktop's notification area, kept there while Active: the normal icon, the
// disabled one or an animation, with click, double-click and animation events and a pop-up menu
// on a right click. Destroying it removes the icon.
class TKyTrayIcon95 : public QObject {
public:
    // The uID of the icon and the message its callbacks arrive with.
    static constexpr std::uint32_t IconId = 42;
    static constexpr std::uint32_t CallbackMessage = 0x464; // WM_USER + 100
    // The record's size in its first form.
    static constexpr std::uint32_t RecordSize = 88;

    TKyTrayIcon95(QObject* owner, platform::NotificationArea& area, platform::Timers& timers);
    ~TKyTrayIcon95() override;

    const QIcon& Icon() const { return icon_; }
    void SetIcon(const QIcon& icon);
    const QIcon& DisabledIcon() const { return disabledIcon_; }
    void SetDisabledIcon(const QIcon& icon);
    TKyTrayIconAnimation& Animation() { return *animation_; }
    // True puts the icon into the notification area, false takes it out.
    bool Active() const { return active_; }
    void SetActive(bool active);
    // Pop PopupMenu up on a single right click. While both are set, the notification area is
    // given the menu too, for tray hosts that draw an icon's menu themselves.
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool autoPopup);
    const QString& Hint() const { return hint_; }
    void SetHint(const QString& hint);
    QMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(QMenu* menu);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool showHint);
    TKyTrayIconState State() const { return state_; }
    // Fails with EInvalidOperation when written from inside an OnStateChanging handler.
    void SetState(TKyTrayIconState state);

    // Raised only when set, always with this icon as sender.
    TNotifyEvent OnAnimation;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TKyTrayIconStateChangingEvent OnStateChanging;

    // The image the notification area shows now.
    const QIcon& WorkIcon() const { return workIcon_; }
    // The tip the notification area is given: at most 63 characters of Hint, or nothing.
    const QString& Tip() const { return nid_.szTip; }
    const TKyTrayIconMsgWindow& MsgWindow() const { return *msgWindow_; }

private:
    friend class TKyTrayIconAnimation;
    friend class TKyTrayIconMsgWindow;

    void Activate();
    void Deactivate();
    void SendNotification(platform::NotifyMessage message);
    // Gives the notification area the menu a right click pops up, or none.
    void OfferMenu();
    // Fills WorkIcon with the image of the current state.
    void LoadWorkIcon();
    void RefreshIcon();
    // Sends the record as it now is to the notification area, with every field, when active.
    void ModifyWhenActive();
    void LoadAnimationFrame(int index);
    void StartAnimation();
    void StopAnimation();
    void AnimationStep();
    void Raise(const TNotifyEvent& event);

    platform::NotificationArea& area_;
    platform::Timers& timers_;
    std::unique_ptr<TKyTrayIconMsgWindow> msgWindow_;
    platform::NotifyIconData nid_;
    QIcon workIcon_;
    QIcon icon_;
    QIcon disabledIcon_;
    std::unique_ptr<TKyTrayIconAnimation> animation_;
    bool active_ = false;
    bool autoPopup_ = false;
    QString hint_;
    QPointer<QMenu> popupMenu_;
    bool showHint_ = true;
    TKyTrayIconState state_ = tsEnabled;
};
