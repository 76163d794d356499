#pragma once

class QImage;
class QWidget;

namespace platform {

// Gives a top-level window a picture that the window system shows by itself whenever it maps or
// exposes the window, before the program has drawn anything: on X11 the window's background
// pixmap. A window given the picture of its own content is seen whole the moment it appears,
// without the program waiting for it to appear. The window's native window is made when it has
// none yet. False, and nothing done, where the window system keeps no such picture (Wayland,
// offscreen) or when the picture does not fit the window's size and pixel format.
bool SetWindowPicture(QWidget& window, const QImage& picture);

} // namespace platform
