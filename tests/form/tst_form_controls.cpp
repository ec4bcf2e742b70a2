#include "Fixture.h"
#include "app/CommandButton.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QTimer>
#include <memory>

// The controls do what the design says, and none of Qt's extras that would
// change a value, a mode or the drawing behind the user's back.
class TestFormControls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Application::setUp(*qApp); }
    void init();
    void cleanup() { f.reset(); }

    void inputChangesOnlyWhatItShould_data();
    void inputChangesOnlyWhatItShould();
    void plainControlsShowTheArrow();
    void captionsFitTheirBoxes();
    void panelCaptionSitsOnTheBorder();
    void noCaretInPrintsOrCopies_data();
    void noCaretInPrintsOrCopies();
    void windowKeepsItsSize();

private:
    std::unique_ptr<Fixture> f;
};

void TestFormControls::init()
{
    f = std::make_unique<Fixture>();
    QVERIFY(QTest::qWaitForWindowActive(&f->form));
}

void TestFormControls::inputChangesOnlyWhatItShould_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("input"); // typed text, then a key; or an event
    QTest::addColumn<QString>("value"); // the control's text or value afterwards
    QTest::newRow("radius: no completion") << "Combo2" << "15" << "15";
    QTest::newRow("mode: no completion") << "Combo1" << "Cerchio" << "Cerchio";
    QTest::newRow("mode: the whole text makes the trail")
        << "Combo1" << "Cerchio continuo SENZA Click" << "Cerchio continuo SENZA Click";
    QTest::newRow("pattern: Enter picks nothing") << "Combo3" << "4\r" << "4";
    QTest::newRow("pattern: Tab picks nothing") << "Combo3" << "4\t" << "4";
    QTest::newRow("unfocused list: no wheel") << "Combo1" << "<wheel>" << "Punto continuo al Click";
    QTest::newRow("bar: no wheel") << "HScroll1" << "<wheel>" << "100";
    QTest::newRow("bar: no middle click") << "HScroll1" << "<middle>" << "100";
    QTest::newRow("bar: no context menu") << "HScroll1" << "<menu>" << "100";
}

void TestFormControls::inputChangesOnlyWhatItShould()
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

void TestFormControls::plainControlsShowTheArrow()
{
    const QList<QWidget *> ownCursor{f->ui.Command1, f->ui.Command2, f->ui.VScroll1,
                                     f->ui.HScroll1, f->ui.HScroll2, f->ui.HScroll3};
    for (QWidget *control : f->ui.Frame1->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!control->testAttribute(Qt::WA_TransparentForMouseEvents))
            QVERIFY2(control->cursor().shape() == (ownCursor.contains(control) ? Qt::BitmapCursor : Qt::ArrowCursor),
                     qPrintable(control->objectName()));
    }
}

void TestFormControls::captionsFitTheirBoxes()
{
    // At the labels' widest values too.
    f->ui.Command1->click();
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
}

void TestFormControls::panelCaptionSitsOnTheBorder()
{
    QWidget *panel = f->ui.Frame1;
    const QImage image = panel->grab().toImage();
    // Right of the caption, the top border runs through the caption's middle.
    int border = 0;
    while (border < image.height() && image.pixel(panel->width() - 10, border) == panel->palette().window().color().rgb())
        ++border;
    QVERIFY2(border > 0 && border < panel->fontMetrics().height(), qPrintable(QString::number(border)));
}

void TestFormControls::noCaretInPrintsOrCopies_data()
{
    QTest::addColumn<bool>("print");
    QTest::newRow("print") << true;
    QTest::newRow("copy") << false;
}

void TestFormControls::noCaretInPrintsOrCopies()
{
    QFETCH(bool, print);
    const auto take = [&] {
        if (print) {
            f->ui.s->trigger();
            return f->printer.pages.last();
        }
        f->ui.an->trigger();
        f->ui.mnuCopia->trigger();
        return f->ui.Picture1->picture().bitmap();
    };
    const QImage plain = take();
    f->ui.Text1->setFocus();
    QVERIFY(f->ui.Text1->hasFocus());
    QCOMPARE(take(), plain);
    QVERIFY(f->ui.Text1->hasFocus());
}

void TestFormControls::windowKeepsItsSize()
{
    const QSize size = f->form.size();
    // As a window manager that ignores the fixed size would.
    f->form.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    f->form.resize(size + QSize(100, 100));
    QTRY_COMPARE(f->form.size(), size);
}

QTEST_MAIN(TestFormControls)
#include "tst_form_controls.moc"
