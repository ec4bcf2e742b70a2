#pragma once

#include <cstdlib>
#include <memory>
#include <optional>
#include <xcb/xcb.h>

// What the X11 classes share of xcb.
namespace Xcb {

template<typename Reply>
std::unique_ptr<Reply, decltype(&std::free)> owned(Reply *reply)
{
    return {reply, &std::free};
}

// Qt's connection; null off X11.
xcb_connection_t *connection();

struct TopLevel
{
    xcb_window_t root, top;
};
// The window's ancestor that is a child of the root: the window manager's
// frame window, or the window itself where nothing reparents it.
std::optional<TopLevel> topLevel(xcb_connection_t *connection, xcb_window_t window);

} // namespace Xcb
