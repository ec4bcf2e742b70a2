#pragma once

class QWidget;

// A window's outer size in twips: frame and caption included, as the window
// manager draws them. The window keeps whatever size was set last; the user
// cannot drag it.
//
// A size is honoured to the pixel. Twips rarely fall on whole pixels (8600
// twips are 573.3 pixels), so while the window has the pixel size that the
// last set asked for, it reads back the very twips that were set; a window
// that did not take that size reads back its real size.
namespace OuterSize {

float width(const QWidget &window);
float height(const QWidget &window);
void setWidth(QWidget &window, float twips);
void setHeight(QWidget &window, float twips);

} // namespace OuterSize
