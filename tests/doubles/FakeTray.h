#pragma once

#include "platform/NotificationArea.h"
#include "platform/Timers.h"
#include "platform/TrayPlatform.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace doubles {

// Timers on a clock that moves only when a test says so.
class ManualTimers final : public platform::Timers {
public:
    ~ManualTimers() override
    {
        for (ManualTimer* timer : timers_)
            timer->owner_ = nullptr;
    }

    std::unique_ptr<platform::Timer> CreateTimer(std::function<void()> onTimer) override
    {
        auto timer = std::make_unique<ManualTimer>(*this, std::move(onTimer));
        timers_.push_back(timer.get());
        return timer;
    }

    // Moves the clock on, firing every timer that falls due on the way, in the order they do.
    void Advance(std::int64_t milliseconds)
    {
        const std::int64_t until = now_ + milliseconds;
        while (ManualTimer* next = NextDue(until)) {
            now_ = next->due_;
            next->due_ += next->Interval();
            const std::function<void()> handler = next->onTimer_; // the handler may destroy its timer
            handler();
        }
        now_ = until;
    }

    std::int64_t Now() const { return now_; }
    // How many timers exist now.
    std::size_t Count() const { return timers_.size(); }

private:
    class ManualTimer final : public platform::Timer {
    public:
        ManualTimer(ManualTimers& owner, std::function<void()> onTimer)
            : owner_(&owner)
            , onTimer_(std::move(onTimer))
        {
        }
        ~ManualTimer() override
        {
            if (owner_)
                std::erase(owner_->timers_, this);
        }

    private:
        friend class ManualTimers;
        void Changed() override
        {
            if (owner_)
                due_ = owner_->now_ + Interval();
        }

        ManualTimers* owner_;
        std::function<void()> onTimer_;
        std::int64_t due_ = 0;
    };

    ManualTimer* NextDue(std::int64_t until) const
    {
        ManualTimer* next = nullptr;
        for (ManualTimer* timer : timers_) {
            if (timer->Running() && timer->due_ <= until && (!next || timer->due_ < next->due_))
                next = timer;
        }
        return next;
    }

    std::int64_t now_ = 0;
    std::vector<ManualTimer*> timers_;
};

// A notification area that records every call and delivers the mouse messages a test sends.
class RecordingNotificationArea final : public platform::NotificationArea {
public:
    struct Call {
        platform::NotifyMessage message;
        platform::NotifyIconData data;
    };
    std::vector<Call> calls;
    int doubleClickTime = 500;
    QPoint cursor{300, 200};
    bool iconShown = true;
    std::vector<QMenu*> offeredMenus; // every SetIconMenu, in order

    platform::WindowHandle CreateMessageWindow(WindowProc proc) override
    {
        windows_.emplace(nextWindow_, std::move(proc));
        return nextWindow_++;
    }
    void DestroyMessageWindow(platform::WindowHandle window) override { windows_.erase(window); }
    bool NotifyIcon(platform::NotifyMessage message, const platform::NotifyIconData& data) override
    {
        calls.push_back({message, data});
        return true;
    }
    int DoubleClickTime() const override { return doubleClickTime; }
    QPoint CursorPos() const override { return cursor; }
    void SetIconMenu(platform::WindowHandle, std::uint32_t, QMenu* menu) override { offeredMenus.push_back(menu); }
    bool IconShown(platform::WindowHandle, std::uint32_t, std::chrono::milliseconds) override { return iconShown; }

    // Delivers a mouse message to a window, as the callback of the icon uID would.
    void Send(platform::WindowHandle window, std::intptr_t mouseMessage, std::uint32_t callbackMessage = 0x464,
              std::uint32_t uID = 42)
    {
        const auto found = windows_.find(window);
        if (found != windows_.end()) {
            const WindowProc proc = found->second;
            proc(callbackMessage, uID, mouseMessage);
        }
    }
    bool WindowExists(platform::WindowHandle window) const { return windows_.contains(window); }
    std::size_t Count(platform::NotifyMessage message) const
    {
        return std::size_t(
            std::count_if(calls.begin(), calls.end(), [&](const Call& c) { return c.message == message; }));
    }

private:
    std::map<platform::WindowHandle, WindowProc> windows_;
    platform::WindowHandle nextWindow_ = 0x1000;
};

// The tray side of the desktop, all doubles.
class TestTray {
public:
    RecordingNotificationArea area;
    ManualTimers timers;

    platform::TrayPlatform trayPlatform() { return {area, timers}; }
};

} // namespace doubles
