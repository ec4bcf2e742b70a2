#pragma once

#include "Platform.h"
#include "QtClipboard.h"
#include "QtCommonDialog.h"
#include "QtMessageBox.h"
#include "QtPrinter.h"
#include "QtScreenGrab.h"

// The real services, owned together for the life of the program.
class QtPlatform
{
public:
    Platform platform() { return {m_dialog, m_messageBox, m_printer, m_clipboard, m_screenGrab}; }

private:
    QtCommonDialog m_dialog;
    QtMessageBox m_messageBox;
    QtPrinter m_printer{m_dialog};
    QtClipboard m_clipboard;
    QtScreenGrab m_screenGrab;
};
