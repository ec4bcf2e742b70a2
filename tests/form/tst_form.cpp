// The window offscreen with fake services: how it looks, its menus, sizes,
// printing, copy and comment line, and controls that do what the design says
// and none of Qt's extras that would change a value behind the user's back.
#include "Fixture.h"
#include "app/CommandButton.h"

#include <QAbstractItemView>

#include <QContextMenuEvent>
#include <QFileInfo>
#include <QStyle>
#include <QTimer>
#include <functional>
#include <cmath>
#include <memory>

class TestForm : public QObject
{
    Q_OBJECT
    std::unique_ptr<Fixture> f;

    // Actions by name: a menu item, a button (Command6 "Cornice ON", Command7
    // "Cornice OF"...), a pattern picked from the list, "dark", or "pen": a
    // ring of 500 twips, then a dot 50 px wide, in orange.
    void act(const QString &actions)
    {
        for (const QString &action : actions.split(u' ', Qt::SkipEmptyParts)) {
            if (auto *item = f->form.findChild<QAction *>(action)) {
                item->trigger();
            } else if (auto *button = f->ui.Frame1->findChild<QPushButton *>(action)) {
                button->click();
            } else if (action == u"dark") { // a dark desktop's palette: white text
                f->form.setPalette(QPalette(Qt::darkGray, Qt::black));
            } else if (action == u"pen") {
                f->ui.HScroll1->setValue(255);
                f->ui.HScroll2->setValue(128);
                f->ui.Combo2->setEditText(QStringLiteral("500"));
                f->mouse(QEvent::MouseButtonPress, {300, 200}, Qt::RightButton, Qt::RightButton);
                f->mouse(QEvent::MouseButtonRelease, {300, 200}, Qt::RightButton, Qt::NoButton);
                f->ui.VScroll1->setValue(50);
                f->mouse(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
                f->mouse(QEvent::MouseMove, {150, 120}, Qt::NoButton, Qt::LeftButton);
                f->mouse(QEvent::MouseButtonRelease, {150, 120}, Qt::LeftButton, Qt::NoButton);
            } else {
                f->ui.Combo3->setCurrentIndex(f->ui.Combo3->findText(action));
                emit f->ui.Combo3->activated(f->ui.Combo3->currentIndex());
            }
        }
    }

private slots:
    void initTestCase()
    {
        Application::setUp(*qApp);
        // The light look, fixed, whatever the platform's theme; the style is the program's own.
        QApplication::setPalette(QApplication::style()->standardPalette());
    }
    void init()
    {
        f = std::make_unique<Fixture>();
        QVERIFY(QTest::qWaitForWindowActive(&f->form));
    }
    void cleanup() { f.reset(); }

    // The whole window after each action that changes what it shows, against
    // reference/<row>.png, and the dialogs asked for on the way.
    // PITTORELLO_RENEW_REFERENCES=1 writes the references anew.
    void appearance_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QStringList>("asked");
        QTest::newRow("start") << "" << QStringList();
        QTest::newRow("frame-pattern-colour") << "Command8 Command6 4" << QStringList{"colour"};
        QTest::newRow("frame-off-then-pattern") << "Command8 Command7 4" << QStringList{"colour"}; // Shape1 alone
        QTest::newRow("frame-on-then-transparent") << "Command6 1" << QStringList(); // Shape1 hidden
        QTest::newRow("pattern-then-frame-off") << "2 Command7" << QStringList(); // both hidden
        QTest::newRow("dot-and-ring") << "pen" << QStringList();
        QTest::newRow("print-size") << "pen an" << QStringList();
        QTest::newRow("background") << "pen cds" << QStringList{"colour"};
        QTest::newRow("dark-desktop") << "dark" << QStringList(); // the separators follow its text colour
    }
    void appearance()
    {
        QFETCH(QString, actions);
        f->dialog.colour = 0x00CC6633;
        act(actions);
        QTEST(f->dialog.asked, "asked");
        const QImage shown = f->form.grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (shown.devicePixelRatio() != 1)
            QSKIP("the references are at a device pixel ratio of 1");
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        const QString path = QStringLiteral(PITTORELLO_REFERENCES "/%1.png").arg(name);
        QVERIFY(!qEnvironmentVariableIntValue("PITTORELLO_RENEW_REFERENCES") || shown.save(path, "PNG", 0));
        const QImage reference = QImage(path).convertToFormat(QImage::Format_RGB32);
        QVERIFY2(shown.size() == reference.size(), qPrintable(path + QStringLiteral(": missing or of another size")));
        // Antialiasing may change an edge's shade a little; a colour, line or border changed, many pixels.
        QImage diff = reference.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
        QRect where;
        int count = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb a = shown.pixel(x, y), b = reference.pixel(x, y);
                if (std::max({qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))}) > 3) {
                    diff.setPixel(x, y, qRgb(255, 0, 0));
                    where |= QRect(x, y, 1, 1);
                    ++count;
                }
            }
        const QString diffPath = QFileInfo(name + QStringLiteral("-diff.png")).absoluteFilePath(); // in the build folder
        if (count > 8)
            diff.save(diffPath);
        QVERIFY2(count <= 8, qPrintable(QStringLiteral("%1 pixels differ within %2,%3 %4x%5, in red in %6").arg(count)
                                            .arg(where.x()).arg(where.y()).arg(where.width()).arg(where.height()).arg(diffPath)));
    }

    // Each text of the panel and the comment line against what lies behind it,
    // as rendered: each pixel its text changes, by WCAG's contrast ratio with
    // the same pixel without the text. Under a desktop's dark or high-contrast
    // palette each reads about as well as in the light look, or at 4.5.
    QMap<QString, double> legibility()
    {
        const auto luminance = [](QRgb c) {
            double sum = 0;
            for (const auto &[channel, weight] : {std::pair{qRed(c), 0.2126}, {qGreen(c), 0.7152}, {qBlue(c), 0.0722}}) {
                const double v = channel / 255.0;
                sum += weight * (v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
            }
            return sum;
        };
        QMap<QString, double> ratios;
        const auto measure = [&](const QString &name, QWidget *shown, const QRect &box, const std::function<void(bool)> &text) {
            const QImage with = shown->grab(box).toImage().convertToFormat(QImage::Format_RGB32);
            text(false);
            const QImage without = shown->grab(box).toImage().convertToFormat(QImage::Format_RGB32);
            text(true);
            double ratio = 1; // no text at all reads as none
            for (int y = 0; y < with.height(); ++y)
                for (int x = 0; x < with.width(); ++x) {
                    const auto [dark, light] = std::minmax({luminance(with.pixel(x, y)), luminance(without.pixel(x, y))});
                    ratio = std::max(ratio, (light + 0.05) / (dark + 0.05));
                }
            ratios[name] = ratio;
        };
        const auto caption = [](QWidget *control) {
            return [control, text = control->property("text")](bool shown) { control->setProperty("text", shown ? text : QString()); };
        };
        for (CommandButton *button : f->ui.Frame1->findChildren<CommandButton *>())
            measure(button->objectName(), button, button->captionArea(), caption(button));
        for (QLabel *label : f->ui.Frame1->findChildren<QLabel *>())
            measure(label->objectName(), label, label->contentsRect(), caption(label));
        for (QComboBox *list : {f->ui.Combo1, f->ui.Combo2, f->ui.Combo3})
            measure(list->objectName(), list->lineEdit(), list->lineEdit()->rect(), caption(list->lineEdit()));
        measure(QStringLiteral("Text1"), f->ui.Text1, f->ui.Text1->rect(), caption(f->ui.Text1));
        f->ui.Combo1->showPopup();
        QAbstractItemView *entries = f->ui.Combo1->view();
        const QModelIndex first = entries->model()->index(0, 0);
        measure(QStringLiteral("Combo1's list"), entries->viewport(), entries->visualRect(first), [&](bool shown) {
            entries->model()->setData(first, shown ? QStringLiteral("Punto continuo al Clik") : QString());
        });
        f->ui.Combo1->hidePopup();
        return ratios;
    }
    void legibleUnderEveryPalette_data()
    {
        QTest::addColumn<QPalette>("desktop");
        QTest::addColumn<QString>("actions");
        QPalette dark(QColor(0x37, 0x37, 0x37), QColor(0x35, 0x35, 0x35));
        dark.setColor(QPalette::Base, QColor(0x2d, 0x2d, 0x2d));
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            dark.setColor(role, QColor(0xee, 0xee, 0xec));
        QPalette contrast(Qt::black, Qt::black);
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            contrast.setColor(role, Qt::yellow);
        for (const QString &actions : {QString(), QStringLiteral("Command6")}) {
            QTest::addRow("dark %s", qPrintable(actions)) << dark << actions;
            QTest::addRow("high contrast %s", qPrintable(actions)) << contrast << actions;
        }
    }
    void legibleUnderEveryPalette()
    {
        QFETCH(QPalette, desktop);
        QFETCH(QString, actions);
        act(actions);
        const QMap<QString, double> light = legibility();
        const QPalette lightLook = QApplication::palette();
        f.reset();
        QApplication::setPalette(desktop);
        f = std::make_unique<Fixture>();
        act(actions);
        const QMap<QString, double> ratios = legibility();
        QApplication::setPalette(lightLook);
        QStringList faint;
        for (auto it = ratios.cbegin(); it != ratios.cend(); ++it)
            if (it.value() < std::min(4.5, light[it.key()]) * 0.95) // a button's shading moves its edge a little
                faint << QStringLiteral("%1 %2 (light look %3)").arg(it.key()).arg(it.value(), 0, 'f', 2).arg(light[it.key()], 0, 'f', 2);
        QVERIFY2(faint.isEmpty(), qPrintable(faint.join(QStringLiteral(", "))));
    }

    void menus_data()
    {
        QTest::addColumn<QString>("items");
        QTest::addColumn<int>("copies");
        QTest::addColumn<int>("failing"); // the page the printer refuses; 0: none
        QTest::addColumn<bool>("printSize");
        QTest::addColumn<bool>("copyEnabled");
        QTest::addColumn<bool>("ridEnabled");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("focused"); // before, then after
        QTest::addColumn<QString>("focus");
        QTest::newRow("start") << "" << 1 << 0 << false << false << false << 0 << "VScroll1" << "VScroll1";
        QTest::newRow("preview") << "an" << 1 << 0 << true << true << false << 0 << "VScroll1" << "canvas";
        QTest::newRow("print 0 copies") << "s" << 0 << 0 << true << false << true << 0 << "VScroll1" << "canvas";
        QTest::newRow("print 3 copies") << "s" << 3 << 0 << true << false << true << 3 << "Text1" << "Text1";
        QTest::newRow("first page refused") << "s" << 3 << 1 << true << false << false << 0 << "VScroll1" << "canvas";
        QTest::newRow("third page refused") << "s" << 3 << 3 << true << false << false << 2 << "Text1" << "Text1";
        QTest::newRow("preview, print, rid") << "an s rid" << 1 << 0 << false << true << false << 1 << "Command3" << "Command3";
        QTest::newRow("print, normal") << "s no" << 1 << 0 << false << false << true << 1 << "Combo1" << "Combo1";
        QTest::newRow("preview, normal") << "an no" << 1 << 0 << false << false << false << 0 << "VScroll1" << "VScroll1";
        QTest::newRow("comment line, preview, copy, normal") << "an mnuCopia no" << 1 << 0 << false << false << false << 0 << "Text1" << "Text1";
    }
    void menus()
    {
        QFETCH(QString, items);
        QFETCH(int, copies);
        QFETCH(int, failing);
        QFETCH(bool, printSize);
        QFETCH(int, pages);
        QFETCH(QString, focused);
        f->dialog.copies = copies;
        f->printer.failAtPage = failing;
        f->ui.canvas->plotPoint(700 * 15, 101 * 15);
        f->form.findChild<QWidget *>(focused)->setFocus();
        f->ui.Text1->setSelection(0, 5);
        act(items);
        QCOMPARE(f->ui.Text1->selectedText(), QStringLiteral("Comme")); // also where a print or copy moved its focus
        const bool prints = items.split(u' ').contains(u"s");
        QTEST(f->ui.mnuCopia->isEnabled(), "copyEnabled");
        QTEST(f->ui.rid->isEnabled(), "ridEnabled");
        QTEST(QApplication::focusWidget()->objectName(), "focus");
        QCOMPARE(f->dialog.asked, prints ? QStringList{"printer"} : QStringList());
        QCOMPARE(f->printer.pages.size(), pages);
        QCOMPARE(f->printer.jobs, int(prints && copies > 0)); // all copies in one job
        QCOMPARE(f->messageBox.shown, failing ? QStringList{QStringLiteral("printer refused\nCopie stampate: %1 di 3.").arg(pages)} : QStringList());
        // The set twips read back exactly; the client area is the design's, whatever the frame.
        QCOMPARE(f->form.outerSize().width(), printSize ? 8600.f : 11970.f);
        QCOMPARE(f->form.outerSize().height(), printSize ? 8255.f : 8250.f);
        QCOMPARE(f->ui.canvas->size(), QSize(printSize ? 567 : 792, 506));
        QCOMPARE(f->ui.Frame1->isVisible(), !printSize);
        QCOMPARE(f->pixel(700, 101), qRgb(0, 0, 0)); // narrowing loses nothing
        if (pages)
            QCOMPARE(f->printer.pages.first().size(), QSize(567, 506));
    }

    void printOutOfMemory() // told in Italian, and the job ended: the next print works
    {
        f->dialog.copies = 3;
        f->printer.failAtPage = 2;
        f->printer.outOfMemory = true;
        f->ui.s->trigger();
        f->printer.failAtPage = 0;
        f->ui.s->trigger();
        QCOMPARE(f->messageBox.shown, QStringList{"Memoria insufficiente: l'operazione non è stata completata."});
        QCOMPARE(f->printer.pages.size(), 1 + 3);
    }

    void copy_data()
    {
        QTest::addColumn<bool>("fails");
        QTest::newRow("grabbed") << false;
        QTest::newRow("capture fails") << true;
    }
    void copy()
    {
        QFETCH(bool, fails);
        f->screen.fails = fails;
        const QImage before = f->clipboard.image;
        f->ui.an->trigger();
        f->ui.mnuCopia->trigger();
        const Picture &picture = f->ui.Picture1->picture();
        QCOMPARE(f->messageBox.shown.size(), fails ? 1 : 0);
        QCOMPARE(f->clipboard.image, fails ? before : picture.bitmap()); // a failed capture leaves it as it was
        QCOMPARE(picture.bitmap(), fails ? QImage() : f->form.grab().toImage().convertToFormat(QImage::Format_RGB32));
    }

    // A click in the comment line empties it, a release on the drawing area does not.
    void commentLine()
    {
        QTest::mouseClick(f->ui.Text1, Qt::LeftButton);
        QCOMPARE(f->ui.Text1->text(), QString());
        QTest::keyClicks(f->ui.Text1, QStringLiteral("nota"));
        f->mouse(QEvent::MouseButtonRelease, {100, 100}, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(f->ui.Text1->text(), QStringLiteral("nota"));
        QTest::mouseClick(f->ui.Text1, Qt::LeftButton);
        QCOMPARE(f->ui.Text1->text(), QString());
    }

    void inputChangesOnlyWhatItShould_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("input"); // typed text, then a key; or an event
        QTest::addColumn<QString>("value"); // the control's text or value afterwards; the canvas's colour where dragged
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
        QTest::newRow("drawing area: a side button draws nothing") << "canvas" << "<side>" << "ffffffff";
    }
    void inputChangesOnlyWhatItShould()
    {
        QFETCH(QString, control);
        QFETCH(QString, input);
        QFETCH(QString, value);
        auto *list = f->form.findChild<QComboBox *>(control);
        auto *bar = f->form.findChild<QScrollBar *>(control);
        QWidget *target = list ? static_cast<QWidget *>(list) : bar ? static_cast<QWidget *>(bar) : f->ui.canvas;
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
        } else if (input == u"<side>") {
            f->mouse(QEvent::MouseButtonPress, at, Qt::BackButton, Qt::BackButton);
            f->mouse(QEvent::MouseMove, {100, 50}, Qt::NoButton, Qt::BackButton);
            f->mouse(QEvent::MouseButtonRelease, {100, 50}, Qt::BackButton, Qt::NoButton);
        } else {
            list->setFocus();
            list->lineEdit()->clear();
            QTest::keyClicks(list, input);
        }
        QCoreApplication::processEvents();
        QCOMPARE(list ? list->currentText() : bar ? QString::number(bar->value()) : QString::number(f->pixel(100, 50), 16), value);
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
        QCOMPARE(take(), plain);
        QVERIFY(f->ui.Text1->hasFocus());
    }
};

QTEST_MAIN(TestForm)
#include "tst_form.moc"
