#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

class QWidget;

namespace platform {

class WindowManager;

// Where a window's frame goes, given the frame's outer size: the top-left corner of the frame.
using FramePlace = std::function<QPoint(QSize outer)>;

// Places a top-level window by its frame once a window manager has framed it: as soon as the
// shown window's frame is known, the window moves so that the frame's top-left corner lies where
// place puts it for the frame's outer size, and its client area lies inside at the frame's
// widths. This happens once, at the first showing; a later call replaces place and applies it at
// once when the frame is known by then. Without a window manager there is no frame and the
// window keeps the place its owner gave it.
void PlaceByFrame(QWidget& window, const WindowManager& manager, FramePlace place);

// Centres a window on the primary screen: at once as if its outer size were outerGuess, then by
// its real frame once the window manager has framed it.
void CentreByFrame(QWidget& window, const WindowManager& manager, QSize screenSize, QSize outerGuess);

// Where the top-left corner of a window of size outer goes below the strip, one pixel apart, on
// the screen that holds the strip; above the strip, one pixel apart, when it does not fit below.
// left is where the window's left edge would like to be; the window stays within the screen
// across, and down as well when it fits neither below nor above.
QPoint BesideStrip(const QRect& strip, const QRect& screen, int left, QSize outer);

} // namespace platform
