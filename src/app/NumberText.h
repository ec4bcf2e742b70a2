#pragma once

#include <QString>

// How texts typed into the lists become numbers.
namespace NumberText {

// The number at the start of the text: blanks, tabs and line feeds anywhere
// are ignored; a sign, digits with one decimal point and an E or D exponent,
// or &H / &O integers; 0 when the text starts with no number.
// Throws AppError when the number is beyond double precision.
double leadingValue(const QString &text);

// Strict: the whole text must be a number, rounded half to even into 16 bits.
qint16 toInteger16(const QString &text);

// Throws AppError when the value is beyond single precision.
float toSingle(double value);

} // namespace NumberText
