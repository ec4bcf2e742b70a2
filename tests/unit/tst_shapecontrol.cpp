#include "canvas/ShapeControl.h"
#include "platform/AppError.h"

#include <QTest>

namespace {

const QColor drawing(10, 200, 30);
const QColor hatch(200, 0, 120);
const QColor border(128, 128, 128);
constexpr int borderWidth = 5;

// Set pixels from which a run of eight more continues in the direction.
int runs(const QImage &image, const QRect &area, QPoint step, QRgb colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            int k = 0;
            QPoint p(x, y);
            while (k < 8 && area.contains(p) && image.pixel(p) == colour)
                ++k, p += step;
            count += k == 8;
        }
    return count;
}

} // namespace

class TestShapeControl : public QObject
{
    Q_OBJECT

private slots:
    void hatchDirectionAndColour_data();
    void hatchDirectionAndColour();
    void unknownCodeIsRefused_data();
    void unknownCodeIsRefused();
};

void TestShapeControl::hatchDirectionAndColour_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<bool>("upward");
    QTest::addColumn<bool>("downward");

    QTest::newRow("1 transparent") << 1 << false << false << false << false;
    QTest::newRow("2 horizontal") << 2 << true << false << false << false;
    QTest::newRow("3 vertical") << 3 << false << true << false << false;
    QTest::newRow("4 upward diagonal /") << 4 << false << false << true << false;
    QTest::newRow("5 downward diagonal \\") << 5 << false << false << false << true;
    QTest::newRow("6 cross") << 6 << true << true << false << false;
}

// The shape lies over a drawing in one colour: inside its border every pixel
// is either that drawing or the hatch, in the pattern colour and direction.
void TestShapeControl::hatchDirectionAndColour()
{
    QFETCH(int, code);
    QFETCH(bool, horizontal);
    QFETCH(bool, vertical);
    QFETCH(bool, upward);
    QFETCH(bool, downward);
    QWidget surface;
    surface.resize(120, 90);
    QPalette palette = surface.palette();
    palette.setColor(QPalette::Window, drawing);
    surface.setPalette(palette);
    surface.setAutoFillBackground(true);
    ShapeControl shape(&surface);
    shape.setGeometry(surface.rect());
    shape.setBorderColor(border);
    shape.setBorderWidth(borderWidth);
    shape.setFillColor(hatch);

    shape.setFillStyle(code);

    const QImage image = surface.grab().toImage();
    const QRect inside = surface.rect().adjusted(borderWidth, borderWidth, -borderWidth, -borderWidth);
    int hatched = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            QVERIFY2(p == drawing.rgb() || p == hatch.rgb(), qPrintable(QString::number(p, 16)));
            hatched += p == hatch.rgb();
        }
    QCOMPARE(hatched > 0, code != 1);
    // The hatch is lines, not a fill: most of the drawing still shows.
    QVERIFY(hatched < inside.width() * inside.height() / 3);
    const QRgb ink = hatch.rgb();
    QCOMPARE(runs(image, inside, {1, 0}, ink) > 0, horizontal);
    QCOMPARE(runs(image, inside, {0, 1}, ink) > 0, vertical);
    // Upward: rising to the right, towards smaller y.
    QCOMPARE(runs(image, inside, {1, -1}, ink) > 0, upward);
    QCOMPARE(runs(image, inside, {1, 1}, ink) > 0, downward);
    // The border lies over the hatch.
    for (const QPoint p : {QPoint(2, 40), QPoint(60, 2), QPoint(117, 40), QPoint(60, 87)})
        QCOMPARE(image.pixel(p), border.rgb());
}

void TestShapeControl::unknownCodeIsRefused_data()
{
    QTest::addColumn<int>("code");
    QTest::newRow("-1") << -1;
    QTest::newRow("8") << 8;
    QTest::newRow("32767") << 32767;
}

void TestShapeControl::unknownCodeIsRefused()
{
    QFETCH(int, code);
    ShapeControl shape;
    shape.setFillStyle(4);
    QVERIFY_THROWS_EXCEPTION(AppError, shape.setFillStyle(code));
    QCOMPARE(shape.fillStyle(), 4);
}

QTEST_MAIN(TestShapeControl)
#include "tst_shapecontrol.moc"
