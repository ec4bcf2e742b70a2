#include "Colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace Colors {

static QPalette::ColorRole systemRole(quint32 index)
{
    switch (index) {
    case WindowBackground & 0xFF: return QPalette::Base;
    case WindowText & 0xFF: return QPalette::Text;
    case ButtonText & 0xFF: return QPalette::ButtonText;
    default: return QPalette::Button;
    }
}

QColor toQColor(quint32 value)
{
    if (value & 0x80000000u)
        return QGuiApplication::palette().color(systemRole(value & 0xFF));
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

quint32 fromQColor(const QColor &color)
{
    const QRgb rgb = color.rgb();
    return quint32(qRed(rgb)) | quint32(qGreen(rgb)) << 8 | quint32(qBlue(rgb)) << 16;
}

} // namespace Colors
