// Run with QT_SCALE_FACTOR=2: the drawing is held at device resolution, and
// the same twips land on the same logical pixels as at ratio 1.
#include "Fixture.h"

class TestFormHiDpi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Application::setUp(*qApp); }
    void crispAtTheirLogicalPlace_data()
    {
        QTest::addColumn<int>("width"); // 0: the right button's ring of 100 twips
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QRect>("logical"); // what it covers at ratio 1
        QTest::newRow("dot 1") << 1 << QPoint(100, 100) << QRect(100, 100, 1, 1);
        QTest::newRow("dot 2, on a pixel's corner") << 2 << QPoint(101, 57) << QRect(100, 56, 2, 2);
        QTest::newRow("dot 5 at the corner, clipped") << 5 << QPoint(1, 1) << QRect(0, 0, 4, 4);
        QTest::newRow("ring") << 0 << QPoint(300, 200) << QRect(293, 193, 15, 15);
    }
    void crispAtTheirLogicalPlace()
    {
        QFETCH(int, width);
        QFETCH(QPoint, at);
        QFETCH(QRect, logical);
        Fixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.form));
        f.ui.HScroll1->setValue(200);
        f.ui.VScroll1->setValue(std::max(width, 1));
        f.stroke(width ? Qt::LeftButton : Qt::RightButton, width ? QList<QPoint>{at, at} : QList<QPoint>{at});
        const QImage &image = f.ui.canvas->image();
        QCOMPARE(image.size(), QSize(792, 506) * 2);
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != 0xFFFFFFFF) {
                    QCOMPARE(image.pixel(x, y), qRgb(200, 0, 0)); // nothing blended
                    box |= QRect(x, y, 1, 1);
                }
        const QRect device(logical.topLeft() * 2, logical.size() * 2);
        if (width)
            QCOMPARE(box, device);
        else
            QVERIFY(device.contains(box) && box.width() >= 26 && box.center() == device.center());
    }
};

QTEST_MAIN(TestFormHiDpi)
#include "tst_form_hidpi.moc"
