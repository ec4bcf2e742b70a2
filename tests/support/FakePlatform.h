#pragma once

#include "platform/AppError.h"
#include "platform/Clipboard.h"
#include "platform/CommonDialog.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/Printer.h"
#include "platform/ScreenGrab.h"

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

// A screen of the arranged resolution, pixel format and palette. Each pixel
// it gives tells where it was taken: red and green are x and y (modulo 256)
// within the area asked for, blue is 255 for the client area, 0 for the whole
// window.
struct FakeScreenGrab : ScreenGrab
{
    struct Request
    {
        QWidget *window;
        bool clientArea;
        QRect source;
    };

    double ppiX = 96, ppiY = 96;
    int caps = 0;
    int entries = 0;
    QImage::Format format = QImage::Format_RGB32;
    // No image can be had.
    bool fails = false;
    // Only this much of the asked rectangle lies on the screen; invalid: all.
    QSize onScreen;
    QList<Request> requests;

    static QRgb pixel(int x, int y, bool clientArea) { return qRgb(x & 255, y & 255, clientArea ? 255 : 0); }
    static QRgb paletteEntry(int index) { return qRgb(index, 255 - index, index / 2); }

    double pixelsPerInchX() const override { return ppiX; }
    double pixelsPerInchY() const override { return ppiY; }
    int rasterCaps() const override { return caps; }
    int paletteSize() const override { return entries; }
    QList<QRgb> paletteEntries(int first, int count) const override
    {
        QList<QRgb> palette;
        for (int i = first; i < first + count && i < entries; ++i)
            palette << paletteEntry(i);
        return palette;
    }
    QImage::Format pixelFormat() const override { return format; }
    QImage grab(QWidget &window, bool clientArea, const QRect &source) override
    {
        requests << Request{&window, clientArea, source};
        if (fails)
            return {};
        QImage image(onScreen.isValid() ? onScreen : source.size(), QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, pixel(source.x() + x, source.y() + y, clientArea));
        return image;
    }
};

struct FakePlatform
{
    FakeCommonDialog dialog;
    FakeMessageBox messageBox;
    FakePrinter printer;
    FakeClipboard clipboard;
    FakeScreenGrab screenGrab;
    Platform platform() { return {dialog, messageBox, printer, clipboard, screenGrab}; }
};
