#pragma once

#include <QColor>
#include <QtGlobal>

// Colours as the program stores them: 0x00BBGGRR, red in the low byte;
// 0x800000nn names the system colour nn, taken from the application palette.
namespace Colors {

constexpr quint32 WindowBackground = 0x80000005;
constexpr quint32 WindowText = 0x80000008;
constexpr quint32 ButtonFace = 0x8000000F;
constexpr quint32 ButtonText = 0x80000012;

QColor toQColor(quint32 value);
quint32 fromQColor(const QColor &color);

} // namespace Colors
