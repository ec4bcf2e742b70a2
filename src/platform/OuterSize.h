#pragma once

class QWidget;

// A window's outer size in twips: frame and caption included, as the window
// manager draws them. The window keeps whatever size was set last; the user
// cannot drag it.
namespace OuterSize {

float width(const QWidget &window);
float height(const QWidget &window);
void setWidth(QWidget &window, float twips);
void setHeight(QWidget &window, float twips);

} // namespace OuterSize
