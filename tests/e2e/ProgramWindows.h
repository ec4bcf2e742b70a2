#pragma once

#include <QString>
#include <QStringList>

class ProgramUnderTest;
class X11Session;

// The program's other windows: popups, message boxes and the colour chooser
// (Qt's own dialog, in Italian), found by the program's pid.
namespace ProgramWindows {

// Its visible windows, those with a matching title when one is given.
QStringList visible(X11Session &session, const ProgramUnderTest &program, const QString &title = {});
// Waits until it shows at least count windows: a menu or list popup has opened.
bool waitForCount(X11Session &session, const ProgramUnderTest &program, int count);

// Waits for the chooser, types the colour ("#3366cc") into its HTML field and
// confirms; true once the chooser has closed.
bool chooseColour(X11Session &session, ProgramUnderTest &program, const QString &html);
// Waits for the chooser and closes it with Escape.
bool cancelColour(X11Session &session, ProgramUnderTest &program);

} // namespace ProgramWindows
