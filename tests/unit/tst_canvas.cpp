#include "canvas/Canvas.h"

#include <QPaintEvent>
#include <QTest>

namespace {

constexpr QRgb white = 0xFFFFFFFF;
constexpr QRgb black = 0xFF000000;

// Twips of a pixel's centre-ish position: 15 twips are one pixel.
float tw(int pixels) { return float(pixels * 15); }

int inkedPixels(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) != white;
    return count;
}

// Collects the rectangles the canvas is asked to repaint.
struct PaintSpy : QObject
{
    QRegion painted;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

} // namespace

class TestCanvas : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void dotIsCentredAndRound_data();
    void dotIsCentredAndRound();
    void circleIsOutlineOfRadius();
    void zeroAndNegativeRadius_data();
    void zeroAndNegativeRadius();
    void vastCircleAroundCanvasDrawsNothing_data();
    void vastCircleAroundCanvasDrawsNothing();
    void vastCircleFromFarCentreStillCrosses();
    void circleNearEdgeIsClipped();
    void lineToFarPointIsClipped();
    void currentPositionFollowsEveryOperation();
    void clearAndBackground();
    void imageSurvivesNarrowingAndWidening();
    void repaintsOnlyTouchedRectangle();
    void circleRepaintsOnlyItsRing();

private:
    Canvas *canvas = nullptr;
};

void TestCanvas::init()
{
    delete canvas;
    canvas = new Canvas;
    canvas->resize(200, 150);
    canvas->setForeColor(Qt::black);
    canvas->setBackColor(Qt::white);
}

void TestCanvas::dotIsCentredAndRound_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("1 pixel") << 1;
    QTest::newRow("5 pixels") << 5;
    QTest::newRow("50 pixels") << 50;
}

void TestCanvas::dotIsCentredAndRound()
{
    QFETCH(int, width);
    canvas->setDrawWidth(width);
    canvas->plotPoint(tw(100), tw(75));
    const QImage &image = canvas->image();
    QCOMPARE(image.pixel(100, 75), black);
    const int r = width / 2;
    // Inked across its whole width, and round: the corners of its box stay empty.
    if (width > 1) {
        QCOMPARE(image.pixel(100 - r + 1, 75), black);
        QCOMPARE(image.pixel(100 + r - 1, 75), black);
        QCOMPARE(image.pixel(100 - r, 75 - r), white);
        QCOMPARE(image.pixel(100 + r, 75 + r), white);
    }
    QCOMPARE(image.pixel(100 + r + 2, 75), white);
    QCOMPARE(image.pixel(100, 75 - r - 2), white);
}

void TestCanvas::circleIsOutlineOfRadius()
{
    canvas->circle(tw(100), tw(75), 300); // 20 pixels
    const QImage &image = canvas->image();
    QCOMPARE(image.pixel(100, 75), white);
    QCOMPARE(image.pixel(100, 75 - 10), white);
    QCOMPARE(image.pixel(100 + 20, 75), black);
    QCOMPARE(image.pixel(100 - 20, 75), black);
    QCOMPARE(image.pixel(100, 75 + 20), black);
    QCOMPARE(image.pixel(100 + 23, 75), white);
}

void TestCanvas::zeroAndNegativeRadius_data()
{
    QTest::addColumn<float>("radius");
    QTest::addColumn<QPoint>("inked");
    QTest::addColumn<QPoint>("empty");
    QTest::newRow("zero is a dot") << 0.0f << QPoint(100, 75) << QPoint(102, 75);
    QTest::newRow("negative is its size") << -300.0f << QPoint(120, 75) << QPoint(100, 75);
}

void TestCanvas::zeroAndNegativeRadius()
{
    QFETCH(float, radius);
    QFETCH(QPoint, inked);
    QFETCH(QPoint, empty);
    canvas->circle(tw(100), tw(75), radius);
    QCOMPARE(canvas->image().pixel(inked), black);
    QCOMPARE(canvas->image().pixel(empty), white);
    QCOMPARE(canvas->currentPosition(), QPointF(tw(100), tw(75)));
}

void TestCanvas::vastCircleAroundCanvasDrawsNothing_data()
{
    QTest::addColumn<float>("radius");
    QTest::newRow("just past the far corner") << float(15 * 290);
    QTest::newRow("1e9") << 1e9f;
    QTest::newRow("1e30") << 1e30f;
    QTest::newRow("largest single") << 3.4e38f;
    QTest::newRow("negative largest single") << -3.4e38f;
}

void TestCanvas::vastCircleAroundCanvasDrawsNothing()
{
    QFETCH(float, radius);
    canvas->setDrawWidth(50);
    canvas->circle(tw(10), tw(10), radius);
    QCOMPARE(inkedPixels(canvas->image(), canvas->image().rect()), 0);
    QCOMPARE(canvas->currentPosition(), QPointF(tw(10), tw(10)));
}

void TestCanvas::vastCircleFromFarCentreStillCrosses()
{
    // Centre ten million pixels to the left: the arc crosses the canvas as an
    // almost vertical line at x = 100.
    const float radius = 15.0f * (1e7f + 100);
    canvas->circle(-15.0f * 1e7f, tw(75), radius);
    const QImage &image = canvas->image();
    for (int y : {0, 75, 149})
        QVERIFY2(image.pixel(100, y) == black || image.pixel(99, y) == black || image.pixel(101, y) == black,
                 qPrintable(QString::number(y)));
    QCOMPARE(inkedPixels(image, QRect(0, 0, 95, 150)), 0);
    QCOMPARE(inkedPixels(image, QRect(106, 0, 94, 150)), 0);
}

void TestCanvas::circleNearEdgeIsClipped()
{
    canvas->circle(tw(2), tw(75), 300);
    const QImage &image = canvas->image();
    QCOMPARE(image.pixel(22, 75), black);
    QCOMPARE(image.pixel(2, 75 - 20), black);
    // Not moved inwards to fit: its centre stays empty.
    QCOMPARE(image.pixel(2, 75), white);
}

void TestCanvas::lineToFarPointIsClipped()
{
    canvas->plotPoint(tw(0), tw(50));
    canvas->lineTo(1e9f, tw(50));
    const QImage &image = canvas->image();
    QCOMPARE(inkedPixels(image, QRect(0, 50, 200, 1)), 200);
    QCOMPARE(inkedPixels(image, QRect(0, 0, 200, 49)), 0);
    QCOMPARE(canvas->currentPosition(), QPointF(1e9f, tw(50)));
}

void TestCanvas::currentPositionFollowsEveryOperation()
{
    canvas->plotPoint(tw(10), tw(20));
    QCOMPARE(canvas->currentPosition(), QPointF(tw(10), tw(20)));
    canvas->circle(tw(30), tw(40), 150);
    QCOMPARE(canvas->currentPosition(), QPointF(tw(30), tw(40)));
    canvas->lineTo(0, 2000);
    QCOMPARE(canvas->currentPosition(), QPointF(0, 2000));
    canvas->clear();
    QCOMPARE(canvas->currentPosition(), QPointF(0, 0));
}

void TestCanvas::clearAndBackground()
{
    canvas->plotPoint(tw(50), tw(50));
    canvas->setBackColor(QColor(0x33, 0x66, 0xCC));
    const QImage &image = canvas->image();
    QCOMPARE(image.pixel(50, 50), qRgb(0x33, 0x66, 0xCC));
    canvas->plotPoint(tw(60), tw(60));
    canvas->clear();
    QCOMPARE(image.pixel(60, 60), qRgb(0x33, 0x66, 0xCC));
    // After a clear the pen still works, from the top-left corner.
    canvas->lineTo(0, 2000);
    QCOMPARE(image.pixel(0, 100), black);
}

void TestCanvas::imageSurvivesNarrowingAndWidening()
{
    canvas->show();
    canvas->plotPoint(tw(180), tw(20));
    canvas->resize(100, 150);
    canvas->resize(300, 200);
    const QImage &image = canvas->image();
    QCOMPARE(image.pixel(180, 20), black);
    QCOMPARE(image.pixel(250, 180), white);
    QVERIFY(image.width() >= 300 && image.height() >= 200);
}

void TestCanvas::repaintsOnlyTouchedRectangle()
{
    canvas->show();
    QVERIFY(QTest::qWaitForWindowExposed(canvas));
    QCoreApplication::processEvents();
    PaintSpy spy;
    canvas->installEventFilter(&spy);
    canvas->setDrawWidth(5);
    canvas->plotPoint(tw(100), tw(75));
    QTRY_VERIFY(!spy.painted.isEmpty());
    const QRect painted = spy.painted.boundingRect();
    QVERIFY2(painted.contains(QRect(98, 73, 5, 5)), qPrintable(QString("%1,%2 %3x%4").arg(painted.x()).arg(painted.y()).arg(painted.width()).arg(painted.height())));
    QVERIFY2(painted.width() <= 6 && painted.height() <= 6, qPrintable(QString("%1,%2 %3x%4").arg(painted.x()).arg(painted.y()).arg(painted.width()).arg(painted.height())));
}

void TestCanvas::circleRepaintsOnlyItsRing()
{
    canvas->show();
    QVERIFY(QTest::qWaitForWindowExposed(canvas));
    QCoreApplication::processEvents();
    PaintSpy spy;
    canvas->installEventFilter(&spy);
    canvas->circle(tw(100), tw(75), 600); // 40 pixels: its box is 81 x 81
    QTRY_VERIFY(!spy.painted.isEmpty());
    int area = 0;
    for (const QRect &r : spy.painted)
        area += r.width() * r.height();
    const int inked = inkedPixels(canvas->image(), canvas->image().rect());
    QVERIFY2(area <= inked * 2, qPrintable(QString("%1 repainted for %2 inked").arg(area).arg(inked)));
    QVERIFY(spy.painted.contains(QPoint(140, 75)));
}

QTEST_MAIN(TestCanvas)
#include "tst_canvas.moc"
