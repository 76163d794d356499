#pragma once

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace platform {

// Qt's own connection to the X server; none when the program does not run on X.
inline xcb_connection_t* QtXcbConnection()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// A reply of the X server, freed when it goes out of scope.
template <typename Reply> using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> XcbReply<Reply> Owned(Reply* reply)
{
    return XcbReply<Reply>(reply, &std::free);
}

} // namespace platform
