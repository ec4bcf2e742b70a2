#include "ShapeControl.h"

#include "platform/AppError.h"

#include <QPaintEvent>
#include <QPainter>

namespace {

Qt::BrushStyle brushStyle(int code)
{
    switch (code) {
    case ShapeControl::Solid: return Qt::SolidPattern;
    case ShapeControl::Horizontal: return Qt::HorPattern;
    case ShapeControl::Vertical: return Qt::VerPattern;
    case ShapeControl::UpwardDiagonal: return Qt::BDiagPattern;
    case ShapeControl::DownwardDiagonal: return Qt::FDiagPattern;
    case ShapeControl::Cross: return Qt::CrossPattern;
    case ShapeControl::DiagonalCross: return Qt::DiagCrossPattern;
    default: return Qt::NoBrush;
    }
}

} // namespace

ShapeControl::ShapeControl(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeControl::setBorderColor(const QColor &color)
{
    m_borderColor = color;
    update();
}

void ShapeControl::setBorderWidth(int pixels)
{
    m_borderWidth = pixels;
    update();
}

void ShapeControl::setFillStyle(int code)
{
    if (code < Solid || code > DiagonalCross)
        throw AppError(QStringLiteral("Valore della proprietà non valido: stile di riempimento %1.").arg(code));
    m_fillStyle = code;
    update();
}

void ShapeControl::setFillColor(const QColor &color)
{
    m_fillColor = color;
    update();
}

void ShapeControl::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    // The hatch is anchored to the window, so neighbouring repaints line up.
    painter.setBrushOrigin(-pos());
    painter.fillRect(rect(), QBrush(m_fillColor, brushStyle(m_fillStyle)));
    const int w = m_borderWidth;
    const QRect r = rect();
    painter.fillRect(QRect(r.left(), r.top(), r.width(), w), m_borderColor);
    painter.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), m_borderColor);
    painter.fillRect(QRect(r.left(), r.top(), w, r.height()), m_borderColor);
    painter.fillRect(QRect(r.right() - w + 1, r.top(), w, r.height()), m_borderColor);
}
