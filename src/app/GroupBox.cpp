#include "GroupBox.h"

#include <QPainter>
#include <qdrawutil.h>

// It paints all of itself: what changes on it repaints it alone, not the drawing beneath.
GroupBox::GroupBox(QWidget *parent) : QGroupBox(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GroupBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // The desktop's button face, as it is now: neither the canvas colour nor drawing beneath shows through.
    painter.fillRect(rect(), palette().button());
    const QFontMetrics metrics = fontMetrics();
    // An etched line, its top through the middle of the caption.
    qDrawShadeRect(&painter, rect().adjusted(0, metrics.height() / 2, 0, 0), palette(), true, 1);
    const QRect caption(metrics.averageCharWidth(), 0, metrics.horizontalAdvance(title()) + 4, metrics.height());
    painter.fillRect(caption, palette().button());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(caption, Qt::AlignCenter, title());
}
