#pragma once

#include <QWidget>

// Wayland leaves a window's frame to the program. Qt 6.4's own offers
// maximise even on a window of fixed size, so there the window gets this
// frame instead: Qt's look, with caption, icon, minimise and close, and no
// control that resizes. Being part of the window, it is in what the window
// renders, as the screen shows it. Elsewhere the window system's frame stays.
class WaylandFrame : public QWidget
{
public:
    // Before the window is first shown and sized.
    static void addTo(QWidget &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    enum Button { NoButton, Minimise, Close };

    explicit WaylandFrame(QWidget &window);
    QRect buttonRect(Button button) const;
    Button buttonAt(const QPoint &point) const;

    QWidget &m_window;
    Button m_pressed = NoButton;
};
