// The control panel and the comment line, offscreen with fake services: each
// command does what the design says, and no extra of Qt's changes a value
// behind the user's back.
#include "Fixture.h"

#include <QContextMenuEvent>
#include <QTimer>
#include <memory>

class TestPanel : public QObject
{
    Q_OBJECT
    std::unique_ptr<Fixture> f;

    // The colour and thickness bars with their labels, the comment line and the mode.
    QString state() const
    {
        const Ui::Form1 &ui = f->ui;
        return QStringLiteral("%1 %2 %3 %4, labels %5 %6 %7 %8, comment '%9', mode '%10'")
            .arg(ui.HScroll1->value()).arg(ui.HScroll2->value()).arg(ui.HScroll3->value()).arg(ui.VScroll1->value())
            .arg(ui.Label4->text(), ui.Label5->text(), ui.Label6->text(), ui.Label3->text(), ui.Text1->text(),
                 ui.Combo1->currentText());
    }

private slots:
    void initTestCase() { Fixture::setUpProgram(); }
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() { f.reset(); }

    // After a dot at (300, 200) in a dark blue-green pen 3 px wide, a note and the circle trail.
    void commands_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QList<QPoint>>("ink");
        QTest::addColumn<QList<QPoint>>("paper");
        const QString trail = QStringLiteral("comment 'nota', mode 'Cerchio continuo SENZA Click'");
        const QList<QPoint> dot{{300, 200}}, line{{300, 200}, {150, 167}, {1, 134}}; // to (0, 2000) twips
        QTest::newRow("Bianco") << "Command1" << "255 255 255 3, labels 255 255 255 3, " + trail << dot << line.mid(1);
        QTest::newRow("Nero") << "Command2" << "0 0 0 3, labels 0 0 0 3, " + trail << dot << line.mid(1);
        QTest::newRow("Spessore 1 colore nero:") << "Command5" << "0 0 0 1, labels 0 0 0 1, " + trail << dot << line.mid(1);
        QTest::newRow("Cancella tutto") << "Command3" << "10 20 30 3, labels 10 20 30 3, comment '', mode 'Punto continuo al Clik'"
                                        << QList<QPoint>() << line;
        QTest::newRow("Linea per effetto 3D") << "Command4" << "10 20 30 3, labels 10 20 30 3, " + trail << line
                                              << QList<QPoint>{{150, 160}, {150, 174}};
    }
    void commands()
    {
        QFETCH(QString, button);
        QFETCH(QList<QPoint>, ink);
        QFETCH(QList<QPoint>, paper);
        const Ui::Form1 &ui = f->ui;
        for (const auto &[bar, value] : {std::pair{ui.HScroll1, 10}, {ui.HScroll2, 20}, {ui.HScroll3, 30}, {ui.VScroll1, 3}})
            bar->setValue(value);
        f->mouse(QEvent::MouseButtonPress, {300, 200}, Qt::LeftButton, Qt::LeftButton);
        f->mouse(QEvent::MouseMove, {300, 200}, Qt::NoButton, Qt::LeftButton);
        f->mouse(QEvent::MouseButtonRelease, {300, 200}, Qt::LeftButton, Qt::NoButton);
        ui.Text1->setText(QStringLiteral("nota"));
        ui.Combo1->setEditText(QStringLiteral("Cerchio continuo SENZA Click"));
        f->act(button);
        QTEST(state(), "state");
        for (const auto &[points, colour] : {std::pair{ink, qRgb(10, 20, 30)}, {paper, qRgb(255, 255, 255)}})
            for (const QPoint &p : points)
                QVERIFY2(f->pixel(p.x(), p.y()) == colour, qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    }

    // The cursor the pointer shows over each place: the design's own with its hot spot, Qt's arrow or I-beam.
    void cursors()
    {
        const struct { const char *control; QPoint at; Qt::CursorShape shape; QPoint hotSpot; } places[] = {
            {"canvas", {100, 100}, Qt::BitmapCursor, {7, 7}}, {"Command1", {5, 5}, Qt::BitmapCursor, {16, 14}},
            {"Command2", {5, 5}, Qt::BitmapCursor, {15, 15}}, {"VScroll1", {100, 30}, Qt::BitmapCursor, {0, 0}},
            {"HScroll3", {60, 12}, Qt::BitmapCursor, {0, 0}}, {"Frame1", {4, 100}, Qt::BitmapCursor, {0, 0}},
            {"Command3", {5, 5}, Qt::ArrowCursor, {}}, {"Label1", {5, 5}, Qt::ArrowCursor, {}},
            {"Text1", {50, 10}, Qt::IBeamCursor, {}}};
        for (const auto &[control, at, shape, hotSpot] : places) {
            const QWidget *named = f->form.findChild<QWidget *>(QLatin1String(control));
            const QCursor cursor = f->form.childAt(named->mapTo(&f->form, at))->cursor();
            QVERIFY2(cursor.shape() == shape && (shape != Qt::BitmapCursor || cursor.hotSpot() == hotSpot), control);
        }
    }

    // The pen down from a press on the drawing area to the next release of any
    // button but a side button's, which neither takes nor lifts it; a release
    // that went to a modal box lifts it at the next move.
    void pen_data()
    {
        QTest::addColumn<QString>("events"); // a press (+) or release (-) of L, R or a side button X; m: a move, none held
        QTest::addColumn<bool>("down");
        QTest::newRow("pressed") << "L+" << true;
        QTest::newRow("released") << "L+ L-" << false;
        QTest::newRow("another button released") << "L+ R+ R-" << false;
        QTest::newRow("a side button") << "X+" << false;
        QTest::newRow("a side button released") << "L+ X+ X-" << true;
        QTest::newRow("the release lost to a box") << "L+ m" << false;
    }
    void pen()
    {
        QFETCH(QString, events);
        Qt::MouseButtons held;
        for (const QString &event : events.split(u' ')) {
            const auto button = Qt::MouseButton(event[0] == u'L' ? Qt::LeftButton : event[0] == u'R' ? Qt::RightButton
                                                : event[0] == u'X' ? Qt::BackButton : Qt::NoButton);
            if (event.endsWith(u'+'))
                f->mouse(QEvent::MouseButtonPress, {100, 100}, button, held |= button);
            else if (event.endsWith(u'-'))
                f->mouse(QEvent::MouseButtonRelease, {100, 100}, button, held &= ~button);
            else
                f->mouse(QEvent::MouseMove, {100, 100}, Qt::NoButton, held = {});
        }
        QTEST(f->form.penDown(), "down");
        f->mouse(QEvent::MouseMove, {200, 150}, Qt::NoButton, held);
        QCOMPARE(f->pixel(200, 150) != 0xFFFFFFFF, f->form.penDown()); // a dot while down, and only then
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
};

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
