#include "canvas/RepaintThrottle.h"

#include <QTest>

class TestRepaintThrottle : public QObject
{
    Q_OBJECT

    QList<QRegion> asked;
    RepaintThrottle::Repaint record = [this](const QRegion &region) { asked << region; };

private slots:
    void init() { asked.clear(); }

    // An hour apart: nothing but the first goes out by itself.
    void firstAtOnceTheRestGathered()
    {
        RepaintThrottle throttle(record, 3'600'000'000'000);
        throttle.touched(QRect(0, 0, 2, 2));
        throttle.touched(QRect(10, 0, 2, 2));
        throttle.touched(QRect(20, 0, 2, 2));
        QCOMPARE(asked, QList<QRegion>{QRect(0, 0, 2, 2)});
        throttle.flush();
        QCOMPARE(asked.last(), QRegion(QRect(10, 0, 2, 2)) + QRect(20, 0, 2, 2));
    }

    void everyThirtySecondTakesInTheOneBefore()
    {
        RepaintThrottle throttle(record, 3'600'000'000'000);
        for (int i = 0; i < 32; ++i) {
            throttle.touched(QRect(i * 10, 0, 2, 2));
            throttle.flush();
        }
        QCOMPARE(asked.size(), 32);
        QCOMPARE(asked[30], QRegion(QRect(300, 0, 2, 2)));
        QCOMPARE(asked[31], QRegion(QRect(310, 0, 2, 2)) + QRect(300, 0, 2, 2));
    }

    void theGatheredGoOutOnceTheIntervalIsOver()
    {
        RepaintThrottle throttle(record, 1'000'000);
        throttle.touched(QRect(0, 0, 2, 2));
        throttle.touched(QRect(10, 0, 2, 2));
        QTRY_COMPARE(asked.size(), 2);
        QCOMPARE(asked.last(), QRegion(QRect(10, 0, 2, 2)));
    }
};

QTEST_MAIN(TestRepaintThrottle)
#include "tst_repaintthrottle.moc"
