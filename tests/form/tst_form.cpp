// The window offscreen with fake services: its menus and sizes, printing,
// copy and frame, and controls that do what the design says and none of
// Qt's extras that would change a value behind the user's back.
#include "Fixture.h"
#include "app/CommandButton.h"
#include "platform/OuterSize.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QTimer>
#include <memory>

class TestForm : public QObject
{
    Q_OBJECT
    std::unique_ptr<Fixture> f;

private slots:
    void initTestCase() { Application::setUp(*qApp); }
    void init()
    {
        f = std::make_unique<Fixture>();
        QVERIFY(QTest::qWaitForWindowActive(&f->form));
    }
    void cleanup() { f.reset(); }

    void menus_data()
    {
        QTest::addColumn<QString>("items");
        QTest::addColumn<int>("copies");
        QTest::addColumn<int>("failing"); // the page the printer refuses; 0: none
        QTest::addColumn<bool>("printSize");
        QTest::addColumn<bool>("copyEnabled");
        QTest::addColumn<bool>("ridEnabled");
        QTest::addColumn<int>("pages");
        QTest::newRow("start") << "" << 1 << 0 << false << false << false << 0;
        QTest::newRow("preview") << "an" << 1 << 0 << true << true << false << 0;
        QTest::newRow("print 0 copies") << "s" << 0 << 0 << true << false << true << 0;
        QTest::newRow("print 3 copies") << "s" << 3 << 0 << true << false << true << 3;
        QTest::newRow("first page refused") << "s" << 3 << 1 << true << false << false << 0;
        QTest::newRow("third page refused") << "s" << 3 << 3 << true << false << false << 2;
        QTest::newRow("preview, print, rid") << "an s rid" << 1 << 0 << false << true << false << 1;
        QTest::newRow("print, normal") << "s no" << 1 << 0 << false << false << true << 1;
        QTest::newRow("preview, normal") << "an no" << 1 << 0 << false << false << false << 0;
    }
    void menus()
    {
        QFETCH(QString, items);
        QFETCH(int, copies);
        QFETCH(int, failing);
        QFETCH(bool, printSize);
        QFETCH(int, pages);
        f->dialog.copies = qint16(copies);
        f->printer.failAtPage = failing;
        f->ui.canvas->plotPoint(700 * 15, 101 * 15);
        for (const QString &item : items.split(u' ', Qt::SkipEmptyParts))
            f->form.findChild<QAction *>(item)->trigger();
        QTEST(f->ui.mnuCopia->isEnabled(), "copyEnabled");
        QTEST(f->ui.rid->isEnabled(), "ridEnabled");
        QCOMPARE(f->printer.pages.size(), pages);
        QCOMPARE(f->printer.jobs, int(items.split(u' ').contains(u"s") && copies > 0)); // all copies in one job
        QCOMPARE(f->messageBox.shown, failing ? QStringList{QStringLiteral("printer refused\nCopie stampate: %1 di 3.").arg(pages)} : QStringList());
        // The set twips read back exactly; the client area is the design's, whatever the frame.
        QCOMPARE(OuterSize::width(f->form), printSize ? 8600.f : 11970.f);
        QCOMPARE(OuterSize::height(f->form), printSize ? 8255.f : 8250.f);
        QCOMPARE(f->ui.canvas->size(), QSize(printSize ? 567 : 792, 506));
        QCOMPARE(f->ui.Frame1->isVisible(), !printSize);
        QCOMPARE(f->pixel(700, 101), qRgb(0, 0, 0)); // narrowing loses nothing
        if (pages)
            QCOMPARE(f->printer.pages.first().size(), QSize(567, 506));
    }

    void copy_data()
    {
        QTest::addColumn<int>("caps");
        QTest::addColumn<int>("entries");
        QTest::addColumn<bool>("fails");
        QTest::newRow("true colour") << 0 << 0 << false;
        QTest::newRow("palette of 256") << 0x100 << 256 << false;
        QTest::newRow("palette of 16") << 0x100 << 16 << false;
        QTest::newRow("capture fails") << 0 << 0 << true;
    }
    void copy()
    {
        QFETCH(int, caps);
        QFETCH(int, entries);
        QFETCH(bool, fails);
        f->screen.caps = caps;
        f->screen.entries = entries;
        f->screen.fails = fails;
        const QImage before = f->clipboard.image;
        f->ui.an->trigger();
        f->ui.mnuCopia->trigger();
        const Picture &picture = f->ui.Picture1->picture();
        QCOMPARE(f->messageBox.shown.size(), fails ? 1 : 0);
        QCOMPARE(f->clipboard.image, fails ? before : picture.bitmap()); // a failed capture leaves it as it was
        QCOMPARE(picture.bitmap(), fails ? QImage() : f->form.grab().toImage().convertToFormat(QImage::Format_RGB32));
        const bool palette = caps && entries == 256;
        QCOMPARE(picture.palette().size(), palette ? 256 : 0);
        if (palette)
            QCOMPARE(picture.palette().at(200), FakeScreenGrab::entry(200));
    }

    void frame_data()
    {
        QTest::addColumn<QString>("actions"); // ON, OF, or a pattern picked from the list
        QTest::addColumn<bool>("shape1");
        QTest::addColumn<bool>("shape2");
        QTest::addColumn<QPoint>("hatch"); // from one pattern pixel to the next; null: none
        QTest::newRow("ON twice") << "ON ON" << true << true << QPoint();
        QTest::newRow("OF then 4: Shape1 alone, upward") << "OF 4" << true << false << QPoint(1, -1);
        QTest::newRow("5: downward") << "5" << true << false << QPoint(1, 1);
        QTest::newRow("ON then 1: Shape1 hidden") << "ON 1" << false << true << QPoint();
        QTest::newRow("2 then OF") << "2 OF" << false << false << QPoint();
    }
    void frame()
    {
        QFETCH(QString, actions);
        QFETCH(QPoint, hatch);
        f->dialog.colour = 0x0000FF; // red
        f->ui.Command8->click();
        for (const QString &action : actions.split(u' ')) {
            if (action == u"ON" || action == u"OF") {
                (action == u"ON" ? f->ui.Command6 : f->ui.Command7)->click();
                continue;
            }
            f->ui.Combo3->setCurrentIndex(f->ui.Combo3->findText(action));
            emit f->ui.Combo3->activated(f->ui.Combo3->currentIndex());
        }
        QTEST(f->ui.Shape1->isVisible(), "shape1");
        QTEST(f->ui.Shape2->isVisible(), "shape2");
        if (hatch.isNull())
            return;
        // The hatch in the pattern colour over the drawing, its lines running the pattern's way.
        const QImage shown = f->ui.canvas->grab().toImage();
        QPoint p(200, 200);
        while (shown.pixel(p) != qRgb(255, 0, 0) && p.x() < 216)
            p.rx()++;
        QCOMPARE(shown.pixel(p), qRgb(255, 0, 0));
        QCOMPARE(shown.pixel(p + hatch), qRgb(255, 0, 0));
        QCOMPARE(shown.pixel(p + QPoint(1, 0)), qRgb(255, 255, 255));
    }

    void inputChangesOnlyWhatItShould_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("input"); // typed text, then a key; or an event
        QTest::addColumn<QString>("value"); // the control's text or value afterwards
        const QString trail = QStringLiteral("Cerchio continuo SENZA Click");
        QTest::newRow("radius: no completion") << "Combo2" << "15" << "15";
        QTest::newRow("mode: no completion") << "Combo1" << "Cerchio" << "Cerchio";
        QTest::newRow("mode: the whole text makes the trail") << "Combo1" << trail << trail;
        QTest::newRow("pattern: Enter picks nothing") << "Combo3" << "4\r" << "4";
        QTest::newRow("pattern: Tab picks nothing") << "Combo3" << "4\t" << "4";
        QTest::newRow("unfocused list: no wheel") << "Combo1" << "<wheel>" << "Punto continuo al Click";
        QTest::newRow("bar: no wheel") << "HScroll1" << "<wheel>" << "100";
        QTest::newRow("bar: no middle click") << "HScroll1" << "<middle>" << "100";
        QTest::newRow("bar: no context menu") << "HScroll1" << "<menu>" << "100";
    }
    void inputChangesOnlyWhatItShould()
    {
        QFETCH(QString, control);
        QFETCH(QString, input);
        QFETCH(QString, value);
        auto *list = f->form.findChild<QComboBox *>(control);
        auto *bar = f->form.findChild<QScrollBar *>(control);
        QWidget *target = list ? static_cast<QWidget *>(list) : bar;
        const QPoint at(target->width() * 3 / 4, target->height() / 2);
        bool menu = false;
        QTimer::singleShot(0, this, [&menu] {
            if (QWidget *popup = QApplication::activePopupWidget())
                menu = popup->close();
        });
        if (bar)
            bar->setValue(100);
        if (input == u"<wheel>") {
            QWheelEvent wheel(at, target->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &wheel);
        } else if (input == u"<middle>") {
            QTest::mouseClick(target, Qt::MiddleButton, {}, at);
        } else if (input == u"<menu>") {
            QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
            QApplication::sendEvent(target, &event);
        } else {
            list->setFocus();
            list->lineEdit()->clear();
            QTest::keyClicks(list, input);
        }
        QCoreApplication::processEvents();
        QCOMPARE(list ? list->currentText() : QString::number(bar->value()), value);
        QVERIFY(!menu);
        QVERIFY(!f->ui.Shape1->isVisible());
        // The circle trail for its exact text alone.
        f->mouse(QEvent::MouseMove, {100, 100}, Qt::NoButton, Qt::NoButton);
        QCOMPARE(f->pixel(103, 100) != 0xFFFFFFFF, value.endsWith(u"SENZA Click"));
    }

    void plainControlsShowTheArrow()
    {
        const QList<QWidget *> own{f->ui.Command1, f->ui.Command2, f->ui.VScroll1, f->ui.HScroll1, f->ui.HScroll2, f->ui.HScroll3};
        for (QWidget *control : f->ui.Frame1->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            QVERIFY2(control->testAttribute(Qt::WA_TransparentForMouseEvents)
                         || control->cursor().shape() == (own.contains(control) ? Qt::BitmapCursor : Qt::ArrowCursor),
                     qPrintable(control->objectName()));
    }

    void captionsFitTheirBoxes()
    {
        f->ui.Command1->click(); // the labels at their widest values too
        f->ui.VScroll1->setValue(50);
        const auto fits = [](QWidget *control, const QRect &box, int flags, const QString &caption) {
            return box.contains(control->fontMetrics().boundingRect(box, flags, caption));
        };
        for (QLabel *label : f->ui.Frame1->findChildren<QLabel *>())
            QVERIFY2(fits(label, label->contentsRect(), Qt::TextWordWrap | int(label->alignment()), label->text()),
                     qPrintable(label->objectName()));
        for (CommandButton *button : f->ui.Frame1->findChildren<CommandButton *>())
            QVERIFY2(fits(button, button->captionArea(), CommandButton::captionFlags, button->text()),
                     qPrintable(button->objectName()));
        // Right of the panel's caption, its top border runs through the caption's middle.
        const QImage panel = f->ui.Frame1->grab().toImage();
        int border = 0;
        while (panel.pixel(panel.width() - 10, border) == f->ui.Frame1->palette().window().color().rgb())
            ++border;
        QVERIFY2(border > 0 && border < f->ui.Frame1->fontMetrics().height(), qPrintable(QString::number(border)));
    }

    void noCaretInPrintsOrCopies()
    {
        const auto take = [&] {
            f->ui.s->trigger();
            f->ui.an->trigger();
            f->ui.mnuCopia->trigger();
            return QList<QImage>{f->printer.pages.last(), f->ui.Picture1->picture().bitmap()};
        };
        const QList<QImage> plain = take();
        f->ui.Text1->setFocus();
        QVERIFY(f->ui.Text1->hasFocus());
        const QList<QImage> focused = take();
        QCOMPARE(focused.first(), plain.first());
        QCOMPARE(focused.last(), plain.last());
        QVERIFY(f->ui.Text1->hasFocus());
    }

    void windowKeepsItsSize()
    {
        const QSize size = f->form.size();
        f->form.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX); // as a window manager that ignores it would
        f->form.resize(size + QSize(100, 100));
        QTRY_COMPARE(f->form.size(), size);
    }
};

QTEST_MAIN(TestForm)
#include "tst_form.moc"
