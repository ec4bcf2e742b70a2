#pragma once

#include <optional>

class QMainWindow;

// A main window's outer size in twips, as the design counts it: the client
// area (the central widget) plus a frame of 90 x 660 twips for border,
// caption and menu bar. Window managers draw frames of their own sizes, so
// the client area always gets the size the design gives it and the real
// frame goes around it.
//
// Twips rarely fall on whole pixels (8510 twips are 567.3 pixels), so while
// the client area has the pixel size that the last set asked for, it reads
// back the very twips that were set; otherwise it reads back its real size.
class OuterSize
{
public:
    explicit OuterSize(QMainWindow &window) : m_window(window) {}

    float width() const;
    float height() const;
    // Fixed at that size; AppError for a size the window cannot take.
    void setWidth(float twips);
    void setHeight(float twips);

private:
    void apply();

    QMainWindow &m_window;
    std::optional<float> m_width, m_height; // as last set
};
