#pragma once

#include "RepaintThrottle.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QWidget>

// The window's drawing surface. Drawing goes into a persistent image that
// only grows, so covering or narrowing the window loses nothing. Positions
// are twips; pen thickness is pixels.
class Canvas : public QWidget
{
    Q_OBJECT

public:
    // Mouse buttons as the handlers receive them; a press or release of
    // another button (a side button) raises nothing.
    enum Button { Left = 1, Right = 2, Middle = 4 };

    explicit Canvas(QWidget *parent = nullptr);

    void setForeColor(const QColor &color) { m_foreColor = color; }
    void setDrawWidth(int pixels);
    // Erases the drawing, as a new background always does.
    void setBackColor(const QColor &color);

    QPointF currentPosition() const { return m_current; }

    void plotPoint(float x, float y);
    void circle(float x, float y, float radius);
    void lineTo(float x, float y);
    void clear();

    // In device pixels: devicePixelRatio() of them to a logical pixel.
    const QImage &image() const { return m_image; }

signals:
    void mouseDown(int button, float x, float y);
    void mouseMove(int button, float x, float y);
    void mouseUp(int button, float x, float y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void grow();
    QPen pen() const;
    QRect toLogical(const QRect &device) const;
    void touched(const QRect &pixels);
    void stroked(const QRectF &path);
    void repaintSpans();

    QImage m_image;
    QColor m_foreColor;
    QColor m_backColor = Qt::white;
    int m_drawWidth = 1;
    QPointF m_current;
    int m_held = 0;
    QList<QRect> m_spans; // of the last dot or ring, kept to spare an allocation per move
    RepaintThrottle m_repaint;
};
