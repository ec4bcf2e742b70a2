#include "canvas/Canvas.h"

#include <QPaintEvent>
#include <QTest>

namespace {

constexpr QRgb white = 0xFFFFFFFF, black = 0xFF000000;
float tw(double pixels) { return float(pixels * 15); }

int inked(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32); // one row after the other, no padding
    const auto *pixels = reinterpret_cast<const QRgb *>(argb.constBits());
    return int(std::count_if(pixels, pixels + argb.width() * argb.height(), [](QRgb p) { return p != white; }));
}

} // namespace

class TestCanvas : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        canvas = new Canvas;
        canvas->resize(200, 150);
        canvas->setForeColor(Qt::black);
        canvas->setBackColor(Qt::white);
    }
    void cleanup() { delete canvas; }
    // Dots, rings and lines, where the canvas's edge clips but never moves them.
    void drawing_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QPointF>("from"); // pixels: a line's start; NaN: a dot or a ring
        QTest::addColumn<QPointF>("to");   // the line's end, or the centre
        QTest::addColumn<float>("radius"); // twips; NaN: a dot
        QTest::addColumn<QList<QPoint>>("ink");
        QTest::addColumn<QList<QPoint>>("blank");
        QTest::addColumn<int>("pixels"); // inked in all; -1: not counted
        using P = QList<QPoint>;
        const float dot = float(qQNaN());
        const QPointF none(qQNaN(), 0), centre(100, 75);
        QTest::newRow("dot 5 px, round") << 5 << none << centre << dot << P{{98, 75}, {102, 75}, {100, 73}}
                                         << P{{98, 73}, {102, 77}, {103, 75}} << 21;
        QTest::newRow("radius 0: a dot") << 1 << none << centre << 0.f << P{{100, 75}} << P{} << 1;
        QTest::newRow("negative radius: its size") << 1 << none << centre << -300.f << P{{120, 75}} << P{{100, 75}} << -1;
        QTest::newRow("ring at the edge") << 3 << none << QPointF(2, 75) << 300.f << P{{22, 75}, {2, 55}} << P{{2, 75}} << -1;
        QTest::newRow("vast ring, around the canvas") << 50 << none << QPointF(10, 10) << 1e30f << P{} << P{} << 0;
        QTest::newRow("largest single radius, negative") << 50 << none << centre << -3.4e38f << P{} << P{} << 0;
        QTest::newRow("line rightwards, far past the edge") << 1 << QPointF(0, 50) << QPointF(1e8, 50) << dot
                                                            << P{{0, 50}, {199, 50}} << P{} << 200;
        QTest::newRow("line leftwards, from far past it") << 1 << QPointF(1e8, 50) << QPointF(-1e8, 50) << dot
                                                          << P{{0, 50}, {199, 50}} << P{} << 200;
        QTest::newRow("line down through") << 1 << QPointF(30, -1e8) << QPointF(30, 1e8) << dot << P{{30, 0}, {30, 149}}
                                           << P{} << 150;
        QTest::newRow("line up into the corner") << 1 << QPointF(0, 1e8) << QPointF(0, 0) << dot << P{{0, 149}, {0, 0}}
                                                 << P{} << 150;
        QTest::newRow("line wholly above") << 1 << QPointF(-50, -20) << QPointF(300, -10) << dot << P{} << P{} << 0;
    }
    void drawing()
    {
        QFETCH(int, width);
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        QFETCH(float, radius);
        QFETCH(QList<QPoint>, ink);
        QFETCH(QList<QPoint>, blank);
        QFETCH(int, pixels);
        canvas->setDrawWidth(width);
        if (!qIsNaN(from.x())) {
            canvas->circle(tw(from.x()), tw(from.y()), 1e30f); // only moves the pen there
            canvas->lineTo(tw(to.x()), tw(to.y()));
        } else if (qIsNaN(radius)) {
            canvas->plotPoint(tw(to.x()), tw(to.y()));
        } else {
            canvas->circle(tw(to.x()), tw(to.y()), radius);
        }
        for (const auto &[points, colour] : {std::pair{ink, black}, {blank, white}})
            for (const QPoint &p : points)
                QVERIFY2(canvas->image().pixel(p) == colour, qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
        if (pixels >= 0)
            QCOMPARE(inked(canvas->image()), pixels);
        QCOMPARE(canvas->currentPosition(), QPointF(tw(to.x()), tw(to.y())));
    }
    void clearAndBackground()
    {
        const QColor blue(0x33, 0x66, 0xCC);
        canvas->setBackColor(blue);
        canvas->plotPoint(tw(60), tw(60));
        canvas->clear();
        QCOMPARE(canvas->image().pixel(60, 60), blue.rgb());
        canvas->lineTo(0, 2000); // from the top-left corner after a clear
        QCOMPARE(canvas->image().pixel(0, 100), black);
        QCOMPARE(canvas->image().pixel(1, 100), blue.rgb());
    }
    // Also run at QT_SCALE_FACTOR=2: the image holds device pixels, and the
    // same twips cover the same logical pixels as at ratio 1, unblended.
    void crispAtTheirLogicalPlace_data()
    {
        QTest::addColumn<int>("width"); // 0: a ring of 100 twips
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QRect>("logical"); // what it covers at ratio 1
        QTest::newRow("dot 1") << 1 << QPoint(100, 100) << QRect(100, 100, 1, 1);
        QTest::newRow("dot 2, on a pixel's corner") << 2 << QPoint(101, 57) << QRect(100, 56, 2, 2);
        QTest::newRow("dot 5 at the corner, clipped") << 5 << QPoint(1, 1) << QRect(0, 0, 4, 4);
        QTest::newRow("ring") << 0 << QPoint(100, 70) << QRect(93, 63, 15, 15);
    }
    void crispAtTheirLogicalPlace()
    {
        QFETCH(int, width);
        QFETCH(QPoint, at);
        QFETCH(QRect, logical);
        canvas->setDrawWidth(std::max(width, 1));
        if (width)
            canvas->plotPoint(tw(at.x()), tw(at.y()));
        else
            canvas->circle(tw(at.x()), tw(at.y()), 100);
        const QImage &image = canvas->image();
        const int ratio = int(image.devicePixelRatio());
        QCOMPARE(image.size(), canvas->size() * ratio);
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != white) {
                    QCOMPARE(image.pixel(x, y), black);
                    box |= QRect(x, y, 1, 1);
                }
        const QRect device(logical.topLeft() * ratio, logical.size() * ratio);
        if (width)
            QCOMPARE(box, device);
        else
            QVERIFY(device.contains(box) && box.width() >= 13 * ratio && box.center() == device.center());
    }
    void repaintsWhatItTouches_data()
    {
        QTest::addColumn<bool>("line"); // else a ring of 40 px: its spans, not its box
        QTest::addColumn<QPoint>("shown");
        QTest::newRow("ring") << false << QPoint(140, 75);
        QTest::newRow("line") << true << QPoint(48, 114); // on it
    }
    void repaintsWhatItTouches()
    {
        QFETCH(bool, line);
        QFETCH(QPoint, shown);
        canvas->show();
        QVERIFY(QTest::qWaitForWindowExposed(canvas));
        struct : QObject {
            QRegion painted;
            bool eventFilter(QObject *, QEvent *event) override
            {
                if (event->type() == QEvent::Paint)
                    painted += static_cast<QPaintEvent *>(event)->region();
                return false;
            }
        } spy;
        canvas->installEventFilter(&spy);
        canvas->setDrawWidth(5);
        canvas->circle(tw(100), tw(75), 600);
        if (line)
            canvas->lineTo(0, tw(150));
        QTRY_VERIFY(spy.painted.contains(shown));
        int area = 0;
        for (const QRect &r : spy.painted)
            area += r.width() * r.height();
        if (!line)
            QVERIFY2(area <= 2 * inked(canvas->image()), qPrintable(QString::number(area)));
    }

private:
    Canvas *canvas = nullptr;
};

QTEST_MAIN(TestCanvas)
#include "tst_canvas.moc"
