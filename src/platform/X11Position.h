#pragma once

class QWidget;

// ICCCM has a window manager tell a window where it is, by a ConfigureNotify
// event of its own, whenever it moves the frame around it; Qt trusts no
// other news of its place, save what it asks itself when the window itself
// changes. weston's Xwayland window manager tells nothing, so Qt keeps the
// place the window asked for and opens menus and tooltips away from where
// weston put it. So the window follows its frame window on X11 and, whenever
// that moves, tells itself what the window manager should have told it.
namespace X11Position {

// Before the window is first shown.
void follow(QWidget &window);

} // namespace X11Position
