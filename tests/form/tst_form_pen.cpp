#include "FakePlatform.h"
#include "app/Application.h"
#include "app/Form1.h"

#include <QApplication>
#include <QSignalSpy>
#include <QStyleOptionSlider>
#include <QTest>

namespace {

constexpr QRgb white = 0xFFFFFFFF;

QRgb rgb(int r, int g, int b) { return qRgb(r, g, b); }

// The scroll bar's part (arrow, track, handle) as a point to click.
QPoint partOf(QScrollBar *bar, QStyle::SubControl part, bool afterHandle = true)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    const QRect r = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
    if (part != QStyle::SC_ScrollBarGroove)
        return r.center();
    const QRect handle = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
    if (bar->orientation() == Qt::Horizontal)
        return {afterHandle ? (handle.right() + r.right()) / 2 : (r.left() + handle.left()) / 2, r.center().y()};
    return {r.center().x(), afterHandle ? (handle.bottom() + r.bottom()) / 2 : (r.top() + handle.top()) / 2};
}

} // namespace

class TestFormPen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startState();
    void focusStartsOnThicknessAndTabFollowsTabIndex();
    void arrowKeyMovesThicknessAtStart();
    void dotsAreNotJoined();
    void penIsTakenAtPressOnly();
    void rightButtonDrawsCircleOfRadius();
    void radiusTextFollowsLeadingNumberRule_data();
    void radiusTextFollowsLeadingNumberRule();
    void radiusBeyondSinglePrecisionIsReported_data();
    void radiusBeyondSinglePrecisionIsReported();
    void circleTrail_data();
    void circleTrail();
    void lostReleaseDoesNotLeaveThePenDown();
    void panelAndCommentTakeTheirOwnMouse();
    void shapesLetTheMouseThrough();
    void labelFollowsItsBar_data();
    void labelFollowsItsBar();
    void labelWaitsForThumbRelease();
    void presetsChangeOnlyWhatDiffers_data();
    void presetsChangeOnlyWhatDiffers();
    void scrollBarLimits_data();
    void scrollBarLimits();
    void arrowKeysMoveTowardsTheirArrow_data();
    void arrowKeysMoveTowardsTheirArrow();

private:
    void press(Qt::MouseButton button, QPoint at);
    void move(QPoint to);
    void release(Qt::MouseButton button, QPoint at);
    QRgb pixel(QPoint at) const { return form->ui.canvas->image().pixel(at); }

    FakePlatform *fake = nullptr;
    Form1 *form = nullptr;
};

void TestFormPen::initTestCase()
{
    Application::setUp(*qApp);
}

void TestFormPen::init()
{
    fake = new FakePlatform;
    form = new Form1(fake->platform());
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
}

void TestFormPen::cleanup()
{
    delete form;
    delete fake;
}

void TestFormPen::press(Qt::MouseButton button, QPoint at)
{
    QTest::mousePress(form->ui.canvas, button, {}, at);
}

void TestFormPen::move(QPoint to)
{
    QTest::mouseMove(form->ui.canvas, to);
}

void TestFormPen::release(Qt::MouseButton button, QPoint at)
{
    QTest::mouseRelease(form->ui.canvas, button, {}, at);
}

void TestFormPen::startState()
{
    Ui::Form1 &ui = form->ui;
    QCOMPARE(ui.canvas->size(), QSize(792, 506));
    QVERIFY(!ui.Shape1->isVisible());
    QVERIFY(!ui.Shape2->isVisible());
    QVERIFY(!ui.Picture1->isVisible());
    QVERIFY(!ui.mnuCopia->isEnabled());
    QVERIFY(!ui.rid->isEnabled());
    QCOMPARE(ui.Label3->text(), "1");
    QCOMPARE(ui.Label4->text(), "0");
    QCOMPARE(ui.VScroll1->value(), 1);
    QCOMPARE(ui.HScroll1->value() + ui.HScroll2->value() + ui.HScroll3->value(), 0);
    QCOMPARE(ui.Combo1->currentText(), "Punto continuo al Click");
    QCOMPARE(ui.Combo1->count(), 2);
    QCOMPARE(ui.Combo1->itemText(1), "Cerchio continuo SENZA Click");
    QCOMPARE(ui.Combo2->currentText(), "100");
    QCOMPARE(ui.Combo2->count(), 49);
    QCOMPARE(ui.Combo2->itemText(0), "20");
    QCOMPARE(ui.Combo2->itemText(48), "500");
    QCOMPARE(ui.Combo3->currentText(), "Stile dello sfondo:");
    QCOMPARE(ui.Combo3->count(), 6);
    QCOMPARE(ui.Command8->text().size(), 30);
    QVERIFY(ui.Command8->text().endsWith(QString(11, u' ')));
    QCOMPARE(ui.Label1->text(), "Color  RGB");
    QCOMPARE(ui.Command4->toolTip().size(), 128);
    QCOMPARE(form->windowTitle(), "Pittorello 1");
    QCOMPARE(pixel({300, 200}), white);
}

void TestFormPen::focusStartsOnThicknessAndTabFollowsTabIndex()
{
    Ui::Form1 &ui = form->ui;
    QCOMPARE(QApplication::focusWidget(), ui.VScroll1);
    const QList<QWidget *> order = {ui.Command3, ui.Command2, ui.Command1, ui.HScroll3, ui.HScroll2,
                                    ui.Command4, ui.Text1, ui.HScroll1, ui.Command5, ui.Command6,
                                    ui.Command7, ui.Combo1, ui.Combo2, ui.Combo3, ui.Command8, ui.VScroll1};
    for (QWidget *expected : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focus = QApplication::focusWidget();
        while (focus && focus != expected && focus->parentWidget() == expected)
            focus = focus->parentWidget();
        QCOMPARE(focus ? focus->objectName() : QString(), expected->objectName());
    }
}

void TestFormPen::arrowKeyMovesThicknessAtStart()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(form->ui.VScroll1->value(), 2);
    QCOMPARE(form->ui.Label3->text(), "2");
}

void TestFormPen::dotsAreNotJoined()
{
    press(Qt::LeftButton, {100, 100});
    move({120, 100});
    move({160, 100});
    release(Qt::LeftButton, {160, 100});
    QCOMPARE(pixel({120, 100}), rgb(0, 0, 0));
    QCOMPARE(pixel({160, 100}), rgb(0, 0, 0));
    QCOMPARE(pixel({140, 100}), white);
    // No dot at the press itself, nor after the release.
    QCOMPARE(pixel({100, 100}), white);
    move({200, 100});
    QCOMPARE(pixel({200, 100}), white);
    QVERIFY(!form->penDown());
}

void TestFormPen::penIsTakenAtPressOnly()
{
    form->ui.VScroll1->setValue(5);
    form->ui.HScroll1->setValue(200);
    press(Qt::LeftButton, {100, 100});
    form->ui.HScroll2->setValue(90);
    form->ui.VScroll1->setValue(1);
    move({100, 100});
    release(Qt::LeftButton, {100, 100});
    QCOMPARE(pixel({100, 100}), rgb(200, 0, 0));
    QCOMPARE(pixel({102, 100}), rgb(200, 0, 0));

    press(Qt::LeftButton, {200, 100});
    move({200, 100});
    release(Qt::LeftButton, {200, 100});
    QCOMPARE(pixel({200, 100}), rgb(200, 90, 0));
    QCOMPARE(pixel({202, 100}), white);
}

void TestFormPen::rightButtonDrawsCircleOfRadius()
{
    // "100" is the radius in twips: 100 / 15 = 6.67 pixels, not a diameter.
    press(Qt::RightButton, {300, 200});
    release(Qt::RightButton, {300, 200});
    QCOMPARE(pixel({300, 200}), white);
    QCOMPARE(pixel({300 + 7, 200}), rgb(0, 0, 0));
    QCOMPARE(pixel({300 - 7, 200}), rgb(0, 0, 0));
    QCOMPARE(pixel({300, 200 + 7}), rgb(0, 0, 0));
    QCOMPARE(pixel({300 + 3, 200}), white);
    QCOMPARE(pixel({300 + 13, 200}), white);
    // Dragging on with the right button leaves dots as the left one does.
    press(Qt::RightButton, {400, 200});
    move({430, 200});
    release(Qt::RightButton, {430, 200});
    QCOMPARE(pixel({430, 200}), rgb(0, 0, 0));
}

void TestFormPen::radiusTextFollowsLeadingNumberRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("radius"); // pixels
    QTest::newRow("list entry") << "150" << 10;
    QTest::newRow("blank between digits") << "1 20" << 8;
    QTest::newRow("digits then letters") << "300cm" << 20;
    QTest::newRow("hex") << "&H96" << 10;
    QTest::newRow("exponent") << "1.5E2" << 10;
    QTest::newRow("negative") << "-150" << 10;
}

void TestFormPen::radiusTextFollowsLeadingNumberRule()
{
    QFETCH(QString, text);
    QFETCH(int, radius);
    form->ui.Combo2->setEditText(text);
    press(Qt::RightButton, {300, 200});
    release(Qt::RightButton, {300, 200});
    QCOMPARE(pixel({300 + radius, 200}), rgb(0, 0, 0));
    QCOMPARE(pixel({300, 200 - radius}), rgb(0, 0, 0));
    QCOMPARE(pixel({300 + radius + 2, 200}), white);
    QCOMPARE(pixel({300 + radius - 2, 200}), white);
}

void TestFormPen::radiusBeyondSinglePrecisionIsReported_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("reported");
    QTest::newRow("1e39") << "1e39" << true;
    QTest::newRow("beyond double") << "1e400" << true;
    QTest::newRow("largest single draws nothing here") << "3.4e38" << false;
    QTest::newRow("empty is a dot") << "" << false;
}

void TestFormPen::radiusBeyondSinglePrecisionIsReported()
{
    QFETCH(QString, text);
    QFETCH(bool, reported);
    press(Qt::LeftButton, {50, 50});
    move({50, 50});
    release(Qt::LeftButton, {50, 50});
    form->ui.Combo2->setEditText(text);
    press(Qt::RightButton, {300, 200});
    release(Qt::RightButton, {300, 200});
    QCOMPARE(fake->messageBox.shown.size(), reported ? 1 : 0);
    if (reported)
        QVERIFY(fake->messageBox.shown.first().contains("Overflow"));
    // The drawing is intact and the pen works on.
    QCOMPARE(pixel({50, 50}), rgb(0, 0, 0));
    QCOMPARE(pixel({300, 200}), text.isEmpty() ? rgb(0, 0, 0) : white);
    press(Qt::LeftButton, {60, 60});
    move({60, 60});
    release(Qt::LeftButton, {60, 60});
    QCOMPARE(pixel({60, 60}), rgb(0, 0, 0));
}

void TestFormPen::circleTrail_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("held");
    QTest::addColumn<bool>("circle");
    QTest::addColumn<bool>("dot");
    QTest::newRow("trail, no button") << "Cerchio continuo SENZA Click" << false << true << false;
    QTest::newRow("trail, button held") << "Cerchio continuo SENZA Click" << true << true << true;
    QTest::newRow("dot mode, no button") << "Punto continuo al Clik" << false << false << false;
    QTest::newRow("dot mode, button held") << "Punto continuo al Clik" << true << false << true;
    QTest::newRow("case differs") << "cerchio continuo SENZA Click" << false << false << false;
    QTest::newRow("trailing blank") << "Cerchio continuo SENZA Click " << false << false << false;
}

void TestFormPen::circleTrail()
{
    QFETCH(QString, mode);
    QFETCH(bool, held);
    QFETCH(bool, circle);
    QFETCH(bool, dot);
    form->ui.Combo1->setEditText(mode);
    // A move to where the mouse already is would be dropped.
    move({150, 100});
    if (held)
        press(Qt::LeftButton, {150, 100});
    move({200, 100});
    if (held)
        release(Qt::LeftButton, {200, 100});
    // Radius 40 twips: the outline passes about 2.7 pixels from the centre.
    const bool ring = pixel({203, 100}) != white || pixel({197, 100}) != white;
    QCOMPARE(ring, circle);
    QCOMPARE(pixel({200, 100}) != white, dot);
}

void TestFormPen::lostReleaseDoesNotLeaveThePenDown()
{
    press(Qt::LeftButton, {100, 100});
    // The release went to someone else (a modal box): the next plain move
    // must not draw.
    QMouseEvent plainMove(QEvent::MouseMove, QPointF(150, 100), form->ui.canvas->mapToGlobal(QPointF(150, 100)),
                          Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(form->ui.canvas, &plainMove);
    QVERIFY(!form->penDown());
    QCOMPARE(pixel({150, 100}), white);
}

void TestFormPen::panelAndCommentTakeTheirOwnMouse()
{
    Ui::Form1 &ui = form->ui;
    for (QWidget *target : {static_cast<QWidget *>(ui.Frame1), static_cast<QWidget *>(ui.Label1),
                            static_cast<QWidget *>(ui.Text1)}) {
        const QPoint at = target->rect().center();
        QTest::mousePress(target, Qt::LeftButton, {}, at);
        QVERIFY2(!form->penDown(), qPrintable(target->objectName()));
        QTest::mouseRelease(target, Qt::LeftButton, {}, at);
    }
}

void TestFormPen::shapesLetTheMouseThrough()
{
    form->ui.Shape1->show();
    form->ui.Shape2->show();
    press(Qt::LeftButton, {5, 100});
    QVERIFY(form->penDown());
    move({3, 100});
    release(Qt::LeftButton, {3, 100});
    QCOMPARE(pixel({3, 100}), rgb(0, 0, 0));
}

void TestFormPen::labelFollowsItsBar_data()
{
    QTest::addColumn<QString>("bar");
    QTest::addColumn<QString>("label");
    QTest::newRow("red") << "HScroll1" << "Label4";
    QTest::newRow("green") << "HScroll2" << "Label5";
    QTest::newRow("blue") << "HScroll3" << "Label6";
    QTest::newRow("thickness") << "VScroll1" << "Label3";
}

void TestFormPen::labelFollowsItsBar()
{
    QFETCH(QString, bar);
    QFETCH(QString, label);
    auto *scroll = form->findChild<QScrollBar *>(bar);
    auto *caption = form->findChild<QLabel *>(label);
    const int start = scroll->value();
    QTest::mouseClick(scroll, Qt::LeftButton, {}, partOf(scroll, QStyle::SC_ScrollBarAddLine));
    QCOMPARE(scroll->value(), start + 1);
    QCOMPARE(caption->text(), QString::number(start + 1));
    QTest::mouseClick(scroll, Qt::LeftButton, {}, partOf(scroll, QStyle::SC_ScrollBarGroove));
    QCOMPARE(scroll->value(), start + 2);
    QCOMPARE(caption->text(), QString::number(start + 2));
    QTest::mouseClick(scroll, Qt::LeftButton, {}, partOf(scroll, QStyle::SC_ScrollBarSubLine));
    QCOMPARE(caption->text(), QString::number(start + 1));
}

void TestFormPen::labelWaitsForThumbRelease()
{
    QScrollBar *bar = form->ui.HScroll1;
    const QPoint grip = partOf(bar, QStyle::SC_ScrollBarSlider);
    QTest::mousePress(bar, Qt::LeftButton, {}, grip);
    QTest::mouseMove(bar, grip + QPoint(60, 0));
    QCOMPARE(form->ui.Label4->text(), "0");
    QTest::mouseRelease(bar, Qt::LeftButton, {}, grip + QPoint(60, 0));
    QVERIFY(bar->value() > 0);
    QCOMPARE(form->ui.Label4->text(), QString::number(bar->value()));
}

void TestFormPen::presetsChangeOnlyWhatDiffers_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QList<int>>("before"); // thickness, red, green, blue
    QTest::addColumn<QList<int>>("after");
    QTest::addColumn<int>("changes");
    QTest::newRow("Bianco from black") << "Command1" << QList<int>{3, 0, 0, 0} << QList<int>{3, 255, 255, 255} << 3;
    QTest::newRow("Bianco twice") << "Command1" << QList<int>{3, 255, 255, 255} << QList<int>{3, 255, 255, 255} << 0;
    QTest::newRow("Bianco from mixed") << "Command1" << QList<int>{1, 255, 10, 255} << QList<int>{1, 255, 255, 255} << 1;
    QTest::newRow("Nero from white") << "Command2" << QList<int>{7, 255, 255, 255} << QList<int>{7, 0, 0, 0} << 3;
    QTest::newRow("Nero twice") << "Command2" << QList<int>{7, 0, 0, 0} << QList<int>{7, 0, 0, 0} << 0;
    QTest::newRow("thickness 1 black at start") << "Command5" << QList<int>{1, 0, 0, 0} << QList<int>{1, 0, 0, 0} << 0;
    QTest::newRow("thickness 1 black from all") << "Command5" << QList<int>{9, 1, 2, 3} << QList<int>{1, 0, 0, 0} << 4;
    QTest::newRow("thickness 1 black, colour only") << "Command5" << QList<int>{1, 0, 0, 3} << QList<int>{1, 0, 0, 0} << 1;
}

void TestFormPen::presetsChangeOnlyWhatDiffers()
{
    QFETCH(QString, button);
    QFETCH(QList<int>, before);
    QFETCH(QList<int>, after);
    QFETCH(int, changes);
    Ui::Form1 &ui = form->ui;
    const QList<QScrollBar *> bars = {ui.VScroll1, ui.HScroll1, ui.HScroll2, ui.HScroll3};
    const QList<QLabel *> labels = {ui.Label3, ui.Label4, ui.Label5, ui.Label6};
    for (int i = 0; i < bars.size(); ++i)
        bars[i]->setValue(before[i]);
    QList<QSignalSpy *> spies;
    for (QScrollBar *bar : bars)
        spies << new QSignalSpy(bar, &QScrollBar::valueChanged);
    QTest::mouseClick(form->findChild<QPushButton *>(button), Qt::LeftButton);
    int fired = 0;
    for (int i = 0; i < bars.size(); ++i) {
        QCOMPARE(bars[i]->value(), after[i]);
        fired += spies[i]->count();
        if (spies[i]->count())
            QCOMPARE(labels[i]->text(), QString::number(after[i]));
    }
    qDeleteAll(spies);
    QCOMPARE(fired, changes);
}

void TestFormPen::scrollBarLimits_data()
{
    QTest::addColumn<QString>("bar");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::newRow("thickness") << "VScroll1" << 1 << 50;
    QTest::newRow("red") << "HScroll1" << 0 << 255;
    QTest::newRow("green") << "HScroll2" << 0 << 255;
    QTest::newRow("blue") << "HScroll3" << 0 << 255;
}

void TestFormPen::scrollBarLimits()
{
    QFETCH(QString, bar);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    auto *scroll = form->findChild<QScrollBar *>(bar);
    scroll->setValue(minimum);
    QTest::mouseClick(scroll, Qt::LeftButton, {}, partOf(scroll, QStyle::SC_ScrollBarSubLine));
    QCOMPARE(scroll->value(), minimum);
    scroll->setValue(maximum);
    QTest::mouseClick(scroll, Qt::LeftButton, {}, partOf(scroll, QStyle::SC_ScrollBarAddLine));
    QTest::mouseClick(scroll, Qt::LeftButton, {}, partOf(scroll, QStyle::SC_ScrollBarGroove, false));
    QCOMPARE(scroll->value(), maximum - 1);
    scroll->setValue(maximum + 100);
    QCOMPARE(scroll->value(), maximum);
    scroll->setValue(minimum - 100);
    QCOMPARE(scroll->value(), minimum);
}

void TestFormPen::arrowKeysMoveTowardsTheirArrow_data()
{
    QTest::addColumn<QString>("bar");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("step");
    QTest::newRow("red right") << "HScroll1" << int(Qt::Key_Right) << 1;
    QTest::newRow("red left") << "HScroll1" << int(Qt::Key_Left) << -1;
    QTest::newRow("green right") << "HScroll2" << int(Qt::Key_Right) << 1;
    QTest::newRow("blue left") << "HScroll3" << int(Qt::Key_Left) << -1;
    QTest::newRow("thickness down") << "VScroll1" << int(Qt::Key_Down) << 1;
    QTest::newRow("thickness up") << "VScroll1" << int(Qt::Key_Up) << -1;
}

void TestFormPen::arrowKeysMoveTowardsTheirArrow()
{
    QFETCH(QString, bar);
    QFETCH(int, key);
    QFETCH(int, step);
    auto *scroll = form->findChild<QScrollBar *>(bar);
    scroll->setValue(10);
    scroll->setFocus();
    QTest::keyClick(scroll, Qt::Key(key));
    QCOMPARE(scroll->value(), 10 + step);
}

QTEST_MAIN(TestFormPen)
#include "tst_form_pen.moc"
