#pragma once

#include "app/Application.h"
#include "app/Form1.h"
#include "platform/AppError.h"
#include "platform/Clipboard.h"
#include "platform/CommonDialog.h"
#include "platform/MessageBox.h"
#include "platform/Printer.h"
#include "platform/ScreenGrab.h"

#include <QApplication>
#include <QPushButton>
#include <QStyle>
#include <QMouseEvent>
#include <QTest>

// Stand-ins for the window system's services: each records what the window
// asked of it, and fails where a real one can.
struct FakeMessageBox : MessageBox
{
    QStringList shown;
    void show(const QString &text) override { shown << text; }
};

struct FakeCommonDialog : CommonDialog
{
    bool cancel = false; // the colour chooser
    quint32 colour = 0;
    int copies = 1; // 0 stands for a cancelled printer dialog
    QStringList asked; // "colour" or "printer", in order
    std::optional<quint32> chooseColor() override
    {
        asked << QStringLiteral("colour");
        return cancel ? std::nullopt : std::optional(colour);
    }
    int askCopies() override
    {
        asked << QStringLiteral("printer");
        return copies;
    }
};

// A job never ended leaves the printer busy, as Qt's painter does.
struct FakePrinter : Printer
{
    QList<QImage> pages;
    int jobs = 0, failAtPage = 0; // 1-based; 0: never
    bool outOfMemory = false, refuseJob = false, busy = false; // how the page or the job fails
    void beginJob() override
    {
        if (std::exchange(busy, true)) // as Qt's painter, left active
            throw AppError(QStringLiteral("printer busy"));
        ++jobs;
    }
    void printPage(const QImage &image) override
    {
        if (pages.size() + 1 == failAtPage && outOfMemory)
            throw std::bad_alloc();
        if (pages.size() + 1 == failAtPage)
            throw AppError(QStringLiteral("printer refused"));
        pages << image;
    }
    void endJob() override
    {
        busy = false;
        if (refuseJob)
            throw AppError(QStringLiteral("job refused"));
    }
};

struct FakeClipboard : Clipboard
{
    QImage image{1, 1, QImage::Format_RGB32};
    void clear() override { image = QImage(); }
    void setImage(const QImage &i) override { image = i; }
};

// The window's own rendering, frameless, stands for the screen.
struct FakeScreenGrab : ScreenGrab
{
    bool fails = false;
    QSize outerSize(QWidget &window) override { return window.size(); }
    QImage grab(QWidget &window, bool, const QRect &area) override
    {
        return fails ? QImage() : window.grab().toImage().copy(area);
    }
};

// The real window, offscreen, with the fakes; its mouse events carry their
// held buttons, as the window system sends them.
struct Fixture
{
    FakeCommonDialog dialog;
    FakeMessageBox messageBox;
    FakePrinter printer;
    FakeClipboard clipboard;
    FakeScreenGrab screen;
    Form1 form{{dialog, messageBox, printer, clipboard, screen}};
    Ui::Form1 &ui = form.ui;

    Fixture() { form.show(); }
    // The program's set-up, and the light look, fixed whatever the platform's theme.
    static void setUpProgram()
    {
        Application::setUp(*qApp);
        QApplication::setPalette(QApplication::style()->standardPalette());
    }
    QRgb pixel(int x, int y) const { return ui.canvas->image().pixel(x, y); }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent event(type, at, ui.canvas->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(ui.canvas, &event);
    }

    // Actions by name: a menu item, a button (Command6 "Cornice ON", Command7
    // "Cornice OF"...), a pattern picked from the list (1 to 6), "dark", or
    // "pen": a ring of 500 twips, then a dot 50 px wide, in orange.
    void act(const QString &actions)
    {
        for (const QString &action : actions.split(u' ', Qt::SkipEmptyParts)) {
            if (auto *item = form.findChild<QAction *>(action)) {
                item->trigger();
            } else if (auto *button = ui.Frame1->findChild<QPushButton *>(action)) {
                button->click();
            } else if (action == u"dark") { // a dark desktop's palette: white text
                form.setPalette(QPalette(Qt::darkGray, Qt::black));
            } else if (action == u"pen") {
                ui.HScroll1->setValue(255);
                ui.HScroll2->setValue(128);
                ui.Combo2->setEditText(QStringLiteral("500"));
                mouse(QEvent::MouseButtonPress, {300, 200}, Qt::RightButton, Qt::RightButton);
                mouse(QEvent::MouseButtonRelease, {300, 200}, Qt::RightButton, Qt::NoButton);
                ui.VScroll1->setValue(50);
                mouse(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
                mouse(QEvent::MouseMove, {150, 120}, Qt::NoButton, Qt::LeftButton);
                mouse(QEvent::MouseButtonRelease, {150, 120}, Qt::LeftButton, Qt::NoButton);
            } else if (const int pattern = ui.Combo3->findText(action); pattern >= 0) {
                ui.Combo3->setCurrentIndex(pattern);
                emit ui.Combo3->activated(pattern);
            } else {
                QFAIL(qPrintable(QStringLiteral("no action \"%1\"").arg(action)));
            }
        }
    }
};
