#pragma once

class Clipboard;
class CommonDialog;
class MessageBox;
class Printer;
class ScreenGrab;

// The window system's services as the window uses them; tests pass fakes.
struct Platform
{
    CommonDialog &CommonDialog1; // the colour chooser and the printer dialog
    MessageBox &messageBox;
    Printer &printer;
    Clipboard &clipboard;
    ScreenGrab &screenGrab;
};
