#pragma once

#include <QRect>

// Where the window opens. On X11 the screen's origin is that of all monitors
// together and may lie on none of them; the design's place is measured from
// the primary monitor's top-left corner, where it was drawn.
namespace StartPlace {

// `outer`, the window with the frame it expects, measured from the primary
// monitor's top-left corner and moved back onto that monitor where it would
// reach past its edges, as long as it fits there; in global coordinates.
QRect onPrimaryMonitor(const QRect &outer);

} // namespace StartPlace
