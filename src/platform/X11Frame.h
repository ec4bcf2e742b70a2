#pragma once

#include <QImage>
#include <QRect>
#include <functional>
#include <optional>

class QWidget;

// A top-level window on X11 with the frame that the window manager shows
// around it, as the X server and the window manager report them now.
class X11Frame
{
public:
    // None where the window is not on X11 or the server does not answer.
    static std::optional<X11Frame> of(const QWidget &window);

    // The visible frame, in the screen's pixels.
    QSize size() const { return m_frame.size(); }
    // Where the window lies in it.
    QPoint clientOffset() const { return m_client.topLeft() - m_frame.topLeft(); }
    // Its pixels in `source`, measured from its top-left corner, the parts
    // off the screen taken from the image of the same source that `offScreen`
    // makes, only then; null when the server gives none.
    QImage pixels(const QRect &source, const std::function<QImage()> &offScreen) const;

private:
    X11Frame() = default;

    unsigned m_root = 0, m_window = 0, m_top = 0; // m_top: the window manager's frame window
    QRect m_client, m_frame, m_topArea;            // on the root window
};
