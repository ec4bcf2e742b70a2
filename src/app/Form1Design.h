#pragma once

#include <QtGlobal>

class QWidget;

namespace Ui {
class Form1;
}

// What the form file cannot hold: fractional point sizes, colours given as
// 0x00BBGGRR or system colours, custom cursors, the icon and the separators' names.
namespace Form1Design {

// Before the controls are made, so they are laid out once, in their own font.
void applyWindowFont(QWidget &window);
void apply(Ui::Form1 &ui, QWidget &window);

// A control's text and face or background colours, 0x00BBGGRR or system colours.
void setColors(QWidget &control, quint32 text, quint32 background);
// Its face or background alone, as the handlers change it at run time.
void setBackground(QWidget &control, quint32 colour);

} // namespace Form1Design
