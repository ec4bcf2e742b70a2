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
    if (isSystem(value))
        return QGuiApplication::palette().color(systemRole(value & 0xFF));
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QColor lightLook(quint32 value)
{
    if (!isSystem(value))
        return toQColor(value);
    switch (systemRole(value & 0xFF)) {
    case QPalette::Base: return Qt::white;
    case QPalette::Button: return QColor(0xEF, 0xEF, 0xEF);
    default: return Qt::black;
    }
}

quint32 fromQColor(const QColor &color)
{
    const QRgb rgb = color.rgb();
    return quint32(qRed(rgb)) | quint32(qGreen(rgb)) << 8 | quint32(qBlue(rgb)) << 16;
}

} // namespace Colors
