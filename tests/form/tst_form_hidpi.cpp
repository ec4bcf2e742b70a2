// The window at a device pixel ratio of 2 (run with QT_SCALE_FACTOR=2): the
// design keeps its logical places, the drawing is held at device resolution,
// and the same twips land on the same logical pixels as at ratio 1.
#include "FakePlatform.h"
#include "app/Application.h"
#include "app/Form1.h"

#include <QApplication>
#include <QPaintEvent>
#include <QTest>

namespace {

constexpr QRgb white = 0xFFFFFFFF;
constexpr qreal ratio = 2;

// Paints the canvas receives, as logical rectangles.
struct PaintLog : QObject {
    QRegion painted;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

QRect inked(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != white)
                box |= QRect(x, y, 1, 1);
    return box;
}

QRect scaled(const QRect &logical)
{
    return QRect(logical.topLeft() * ratio, logical.size() * ratio);
}

} // namespace

class TestFormHiDpi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void designKeepsItsLogicalPlaces_data();
    void designKeepsItsLogicalPlaces();
    void dotsAreCrispAtTheirLogicalPlace_data();
    void dotsAreCrispAtTheirLogicalPlace();
    void circleKeepsItsLogicalRadius();

private:
    FakePlatform *fake = nullptr;
    Form1 *form = nullptr;
};

void TestFormHiDpi::initTestCase()
{
    Application::setUp(*qApp);
}

void TestFormHiDpi::init()
{
    fake = new FakePlatform;
    form = new Form1(fake->platform());
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    QCOMPARE(form->devicePixelRatioF(), ratio);
}

void TestFormHiDpi::cleanup()
{
    delete form;
    delete fake;
}

void TestFormHiDpi::designKeepsItsLogicalPlaces_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("geometry");
    // The same logical rectangles as at ratio 1, the canvas below the menu bar.
    QTest::newRow("canvas") << "canvas" << QRect(0, 18, 792, 506);
    QTest::newRow("panel") << "Frame1" << QRect(568, 0, 225, 505);
    QTest::newRow("comment line") << "Text1" << QRect(16, 472, 529, 25);
    QTest::newRow("thickness bar") << "VScroll1" << QRect(16, 328, 201, 65);
    QTest::newRow("clear button") << "Command3" << QRect(16, 16, 201, 25);
}

void TestFormHiDpi::designKeepsItsLogicalPlaces()
{
    QFETCH(QString, control);
    QFETCH(QRect, geometry);
    auto *widget = form->findChild<QWidget *>(control);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), geometry);
}

void TestFormHiDpi::dotsAreCrispAtTheirLogicalPlace_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QPoint>("at");
    // Odd widths centre on a pixel, even ones on its corner; one at the edge is clipped.
    QTest::newRow("1") << 1 << QPoint(100, 100);
    QTest::newRow("2") << 2 << QPoint(101, 57);
    QTest::newRow("3") << 3 << QPoint(300, 200);
    QTest::newRow("8") << 8 << QPoint(40, 300);
    QTest::newRow("5 at the corner") << 5 << QPoint(1, 1);
}

void TestFormHiDpi::dotsAreCrispAtTheirLogicalPlace()
{
    QFETCH(int, width);
    QFETCH(QPoint, at);
    form->ui.VScroll1->setValue(width);
    form->ui.HScroll1->setValue(200);
    QTest::mousePress(form->ui.canvas, Qt::LeftButton, {}, at);
    QApplication::processEvents();
    PaintLog log;
    form->ui.canvas->installEventFilter(&log);
    QTest::mouseMove(form->ui.canvas, at);
    QTest::mouseRelease(form->ui.canvas, Qt::LeftButton, {}, at);
    QTRY_VERIFY(!log.painted.isEmpty());

    QCOMPARE(form->ui.canvas->currentPosition(), QPointF(at * 15));
    const QImage &image = form->ui.canvas->image();
    QCOMPARE(image.devicePixelRatio(), ratio);
    QCOMPARE(image.size(), QSize(792, 506) * ratio);
    // The dot covers the logical pixels it covers at ratio 1, in device pixels.
    const int before = width % 2 ? (width - 1) / 2 : width / 2;
    const QRect logical = QRect(at - QPoint(before, before), QSize(width, width)) & QRect(0, 0, 792, 506);
    QCOMPARE(inked(image), scaled(logical));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            QVERIFY2(image.pixel(x, y) == white || image.pixel(x, y) == qRgb(200, 0, 0),
                     qPrintable(QStringLiteral("blended pixel at %1,%2").arg(x).arg(y)));
    // Repainted where it was drawn, and no further.
    QVERIFY(log.painted.contains(logical));
    QVERIFY(logical.adjusted(-1, -1, 1, 1).contains(log.painted.boundingRect()));
}

void TestFormHiDpi::circleKeepsItsLogicalRadius()
{
    // 100 twips at 15 a pixel: the ring lies 6.67 logical pixels out, as at ratio 1.
    QTest::mousePress(form->ui.canvas, Qt::RightButton, {}, {300, 200});
    QTest::mouseRelease(form->ui.canvas, Qt::RightButton, {}, {300, 200});
    // Centred on the middle of logical pixel (300, 200), within the ring's
    // logical pixels at ratio 1 (293 to 307) and nearly filling them.
    const QRect ring = inked(form->ui.canvas->image());
    QCOMPARE(ring.left() + ring.right(), 2 * 601 - 1);
    QCOMPARE(ring.top() + ring.bottom(), 2 * 401 - 1);
    QVERIFY(scaled(QRect(QPoint(293, 193), QPoint(307, 207))).contains(ring));
    QVERIFY2(ring.width() >= 28, qPrintable(QString::number(ring.width())));
    QCOMPARE(form->ui.canvas->image().pixel(601, 401), white);
}

QTEST_MAIN(TestFormHiDpi)
#include "tst_form_hidpi.moc"
