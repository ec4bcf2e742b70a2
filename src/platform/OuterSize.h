#pragma once

class QWidget;

// A window's outer size in twips, as the design counts it: the client area
// (a main window's central widget) plus a frame of 90 x 660 twips for border,
// caption and menu bar. Window managers draw frames of their own sizes, so the
// client area always gets the size the design gives it and the real frame
// goes around it.
//
// Twips rarely fall on whole pixels (8510 twips are 567.3 pixels), so while
// the client area has the pixel size that the last set asked for, it reads
// back the very twips that were set; otherwise it reads back its real size.
// The window keeps the size last set: a change made by anything else (a
// window manager that ignores a fixed size) is undone.
namespace OuterSize {

float width(const QWidget &window);
float height(const QWidget &window);
void setWidth(QWidget &window, float twips);
void setHeight(QWidget &window, float twips);

} // namespace OuterSize
