#pragma once

#include "platform/AppError.h"
#include "platform/Clipboard.h"
#include "platform/CommonDialog.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/Printer.h"

#include <QImage>
#include <QStringList>

// Hand-written stand-ins for the window system's services. Each records what
// the window asked of it and answers as the test arranged.

struct FakeMessageBox : MessageBox
{
    QStringList shown;
    void show(const QString &text) override { shown << text; }
};

struct FakeCommonDialog : CommonDialog
{
    enum Outcome { Choose, Cancel, Fail };
    Outcome outcome = Choose;
    qint32 colour = 0;
    qint16 copies = 1;
    bool printerDialogFails = false;
    int colourDialogsOpened = 0;
    int printerDialogsOpened = 0;
    // Fails the Nth read of the chosen colour (1-based); 0 never.
    int failColourRead = 0;
    QStringList *events = nullptr;

    void setDialogKind(qint16 kind) override
    {
        if (kind != ColorKind)
            throw AppError(QStringLiteral("kind"));
        ++colourDialogsOpened;
        if (events)
            *events << QStringLiteral("colour dialog");
        if (outcome == Fail)
            throw AppError(QStringLiteral("chooser failed"));
        m_check = outcome == Cancel ? Cancelled : 0;
        m_reads = 0;
    }
    qint32 checkValue() const override { return m_check; }
    qint32 chosenColor() const override
    {
        if (++m_reads == failColourRead)
            throw AppError(QStringLiteral("read failed"));
        return colour;
    }
    void openPrinterDialog() override
    {
        ++printerDialogsOpened;
        if (printerDialogFails)
            throw AppError(QStringLiteral("printer dialog failed"));
    }
    qint16 copyCount() const override { return copies; }

private:
    qint32 m_check = 0;
    mutable int m_reads = 0;
};

struct FakePrinter : Printer
{
    QList<QImage> pages;
    // Fails the Nth page (1-based); 0 never.
    int failAtPage = 0;
    void printPage(const QImage &image) override
    {
        if (pages.size() + 1 == failAtPage)
            throw AppError(QStringLiteral("printer refused"));
        pages << image;
    }
};

struct FakeClipboard : Clipboard
{
    QImage image = QImage(1, 1, QImage::Format_RGB32);
    int clears = 0;
    bool refuses = false;
    void clear() override { ++clears, image = QImage(); }
    void setImage(const QImage &i) override
    {
        if (refuses)
            throw AppError(QStringLiteral("clipboard refused"));
        image = i;
    }
};

struct FakePlatform
{
    FakeCommonDialog dialog;
    FakeMessageBox messageBox;
    FakePrinter printer;
    FakeClipboard clipboard;
    Platform platform() { return {dialog, messageBox, printer, clipboard}; }
};
