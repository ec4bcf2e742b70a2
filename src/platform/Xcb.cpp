#include "Xcb.h"

#include <QGuiApplication>

namespace Xcb {

xcb_connection_t *connection()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

std::optional<TopLevel> topLevel(xcb_connection_t *connection, xcb_window_t window)
{
    TopLevel found{XCB_NONE, window};
    for (;;) {
        const auto tree = owned(xcb_query_tree_reply(connection, xcb_query_tree(connection, found.top), nullptr));
        if (!tree)
            return std::nullopt;
        found.root = tree->root;
        if (tree->parent == found.root || tree->parent == XCB_NONE)
            return found;
        found.top = tree->parent;
    }
}

} // namespace Xcb
