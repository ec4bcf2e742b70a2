#pragma once

class Clipboard;
class CommonDialog;
class MessageBox;
class Printer;
class ScreenGrab;

// The window system's services as the window uses them; tests pass fakes.
struct Platform
{
    CommonDialog &dialog;
    MessageBox &messageBox;
    Printer &printer;
    Clipboard &clipboard;
    ScreenGrab &screenGrab;
};
