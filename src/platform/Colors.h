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

constexpr bool isSystem(quint32 value) { return value & 0x80000000u; }

// A system colour as the desktop has it now.
QColor toQColor(quint32 value);
// A system colour as the light look the design was drawn in has it, whatever
// the desktop's palette: for a control whose other colour the design fixes.
QColor lightLook(quint32 value);
quint32 fromQColor(const QColor &color);

} // namespace Colors
