#include "LineControl.h"

#include <QPainter>

LineControl::LineControl(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineControl::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void LineControl::setLineWidth(int pixels)
{
    m_width = pixels;
    update();
}

void LineControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QRect band = rect();
    if (width() >= height())
        band.setHeight(m_width), band.moveTop((height() - m_width) / 2);
    else
        band.setWidth(m_width), band.moveLeft((width() - m_width) / 2);
    painter.fillRect(band, color());
}
