#pragma once

#include <QColor>
#include <QWidget>

// A separator line painted on its container's surface. The widget's geometry
// is the band the line covers; the line runs along the band's long axis.
// It takes no mouse input, so the surface below still gets it.
class LineControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor color READ color WRITE setColor)
    Q_PROPERTY(int lineWidth READ lineWidth WRITE setLineWidth)

public:
    explicit LineControl(QWidget *parent = nullptr);

    // Unless one is set, the palette's window text colour, as the desktop has it.
    QColor color() const { return m_color.isValid() ? m_color : palette().color(QPalette::WindowText); }
    void setColor(const QColor &color);
    int lineWidth() const { return m_width; }
    void setLineWidth(int pixels);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
    int m_width = 1;
};
