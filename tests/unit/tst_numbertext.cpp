#include "app/NumberText.h"
#include "platform/AppError.h"

#include <QTest>

// What a text typed into the radius list is worth. NaN: an overflow error.
class TestNumberText : public QObject
{
    Q_OBJECT

private slots:
    void leadingValue_data()
    {
        const double error = qQNaN();
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("digits then letters") << "35abc" << 35.0;
        QTest::newRow("blank inside digits") << "1 20" << 120.0;
        QTest::newRow("letters alone") << "abc" << 0.0;
        QTest::newRow("two signs") << "--5" << 0.0;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("negative exponent") << "25E-1" << 2.5;
        QTest::newRow("hex") << "&H1F" << 31.0;
        QTest::newRow("hex 16-bit wraps") << "&HFFFF" << -1.0;
        QTest::newRow("octal stops at 8") << "&O78" << 7.0;
        QTest::newRow("ten thousand digits") << QString(10000, u'0') + u'7' << 7.0;
        QTest::newRow("largest double") << "1.7976931348623157e308" << 1.7976931348623157e308;
        QTest::newRow("long mantissa, small exponent") << QString(1000, u'1') + "e-999" << 1.1111111111111112;
        QTest::newRow("a far digit tips a tie") << "1.00000000000000011102230246251565404236316680908203125" + QString(800, u'0') + u'1' << 1.0000000000000002;
        QTest::newRow("below the smallest double") << "1e-325" << 0.0;
        QTest::newRow("below it, negative") << "-2e-330" << -0.0;
        QTest::newRow("vast exponent") << "1e99999999999999999999" << error;
        QTest::newRow("hex beyond 32 bits") << "&H100000000" << error;
    }
    void leadingValue()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        if (qIsNaN(value))
            QVERIFY_THROWS_EXCEPTION(AppError, NumberText::leadingValue(text));
        else // exactly: QCOMPARE holds all numbers near 0 equal
            QCOMPARE(QString::number(NumberText::leadingValue(text), 'g', 17), QString::number(value, 'g', 17));
    }
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
