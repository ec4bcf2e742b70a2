#pragma once

#include <QCursor>

// The program's own mouse cursors, with their hot spots.
namespace Cursors {

QCursor pen();       // over the drawing area
QCursor white();     // "Bianco"
QCursor black();     // "Nero"
QCursor thickness(); // the thickness scroll bar
QCursor colour();    // the colour scroll bars
QCursor panel();     // the control panel's bare surface

} // namespace Cursors
