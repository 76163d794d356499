#include "platform/session/FramePlacement.h"

#include "platform/Screen.h"
#include "platform/WindowManager.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <optional>

namespace platform {

namespace {

// Waits for the window manager to frame the window, then places the window by its frame. The
// manager frames a window only once it has been asked to map it, after the program showed it;
// it reports the frame on its own time, so the frame is asked for again until it is known.
class FramePlacer final : public QObject {
public:
    FramePlacer(QWidget& window, const WindowManager& manager)
        : QObject(&window)
        , window_(window)
        , manager_(manager)
    {
        window.installEventFilter(this);
        retry_.setInterval(RetryMilliseconds);
        connect(&retry_, &QTimer::timeout, this, [this] { TryPlace(); });
    }

    void SetPlace(FramePlace place)
    {
        place_ = std::move(place);
        if (placed_ || window_.isVisible())
            TryPlace();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show && !placed_) {
            tries_ = 0;
            TryPlace();
        }
        return false;
    }

private:
    // A manager that frames windows does so within moments; one that never reports its frames
    // is not waited for beyond this.
    static constexpr int RetryMilliseconds = 10;
    static constexpr int MaxTries = 300;

    void TryPlace()
    {
        const std::optional<QMargins> frame = manager_.FrameExtents(window_);
        if (!frame) {
            if (++tries_ < MaxTries)
                retry_.start();
            else
                retry_.stop();
            return;
        }
        retry_.stop();
        placed_ = true;
        if (frame->isNull())
            return; // no frame: the window stays where its owner put it
        const QSize size = window_.size();
        const QPoint corner = place_(size.grownBy(*frame));
        window_.setGeometry(QRect(corner + QPoint(frame->left(), frame->top()), size));
    }

    QWidget& window_;
    const WindowManager& manager_;
    FramePlace place_;
    QTimer retry_;
    int tries_ = 0;
    bool placed_ = false; // the frame was known once: later showings keep where the user put it
};

} // namespace

void PlaceByFrame(QWidget& window, const WindowManager& manager, FramePlace place)
{
    FramePlacer* placer = nullptr;
    for (QObject* child : window.children())
        if (auto* found = dynamic_cast<FramePlacer*>(child))
            placer = found;
    if (!placer)
        placer = new FramePlacer(window, manager);
    placer->SetPlace(std::move(place));
}

void CentreByFrame(QWidget& window, const WindowManager& manager, QSize screenSize, QSize outerGuess)
{
    window.move(CentredOn(screenSize, outerGuess));
    PlaceByFrame(window, manager, [screenSize](QSize outer) { return CentredOn(screenSize, outer); });
}

QPoint BesideStrip(const QRect& strip, const QRect& screen, int left, QSize outer)
{
    const int below = strip.y() + strip.height() + 1;
    const int above = strip.y() - 1 - outer.height();
    int top = below;
    if (below + outer.height() > screen.y() + screen.height()) {
        if (above >= screen.y())
            top = above;
        else // fits on neither side: as much of it as the screen holds, its top edge first
            top = std::max(screen.y(), screen.y() + screen.height() - outer.height());
    }
    const int right = screen.x() + screen.width() - outer.width();
    return {std::max(screen.x(), std::min(left, right)), top};
}

} // namespace platform
