#pragma once

#include <QColor>
#include <QWidget>

// A rectangle painted on its container's surface, above the drawing: a solid
// border and a hatch fill over a transparent background. It takes no mouse
// input, so the drawing surface below still gets it.
class ShapeControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor borderColor READ borderColor WRITE setBorderColor)
    Q_PROPERTY(int borderWidth READ borderWidth WRITE setBorderWidth)

public:
    // Fill patterns by their codes.
    enum FillStyle { Solid, Transparent, Horizontal, Vertical, UpwardDiagonal, DownwardDiagonal, Cross, DiagonalCross };

    explicit ShapeControl(QWidget *parent = nullptr);

    QColor borderColor() const { return m_borderColor; }
    void setBorderColor(const QColor &color);
    int borderWidth() const { return m_borderWidth; }
    void setBorderWidth(int pixels);
    // Throws AppError for a code outside Solid..DiagonalCross.
    void setFillStyle(int code);
    void setFillColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_borderColor = Qt::black;
    int m_borderWidth = 1;
    int m_fillStyle = Transparent;
    QColor m_fillColor = Qt::black;
};
