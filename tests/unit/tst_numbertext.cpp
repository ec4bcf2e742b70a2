#include "app/NumberText.h"
#include "platform/AppError.h"

#include <QTest>
#include <cfloat>

class TestNumberText : public QObject
{
    Q_OBJECT

private slots:
    void leadingValue_data();
    void leadingValue();
    void leadingValueOverflows_data();
    void leadingValueOverflows();
    void toInteger16_data();
    void toInteger16();
    void toInteger16Rejects_data();
    void toInteger16Rejects();
    void toSingle_data();
    void toSingle();
};

void TestNumberText::leadingValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "100" << 100.0;
    QTest::newRow("digits then letters") << "35abc" << 35.0;
    QTest::newRow("blank inside digits") << "1 20" << 120.0;
    QTest::newRow("tab and line feed inside") << "1\t2\n3" << 123.0;
    QTest::newRow("leading blanks") << "   42" << 42.0;
    QTest::newRow("letters alone") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("blanks alone") << " \t\n" << 0.0;
    QTest::newRow("carriage return stops") << "1\r2" << 1.0;
    QTest::newRow("minus") << "-250" << -250.0;
    QTest::newRow("plus") << "+7" << 7.0;
    QTest::newRow("blank after sign") << "- 5" << -5.0;
    QTest::newRow("two signs") << "--5" << 0.0;
    QTest::newRow("decimal") << "12.5" << 12.5;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("trailing point") << "5." << 5.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("comma stops") << "1,5" << 1.0;
    QTest::newRow("exponent E") << "1E3" << 1000.0;
    QTest::newRow("exponent lower e") << "2e2" << 200.0;
    QTest::newRow("exponent D") << "1.5D2" << 150.0;
    QTest::newRow("negative exponent") << "25E-1" << 2.5;
    QTest::newRow("exponent with blank") << "1 E 2" << 100.0;
    QTest::newRow("exponent without digits") << "7E" << 7.0;
    QTest::newRow("exponent sign without digits") << "7E+" << 7.0;
    QTest::newRow("hex") << "&H1F" << 31.0;
    QTest::newRow("hex lower case") << "&hff" << 255.0;
    QTest::newRow("hex stops at non-digit") << "&H1G" << 1.0;
    QTest::newRow("hex stops at a digit of another script") << QString::fromUtf8("&H1\u0663") << 1.0;
    QTest::newRow("octal stops at a fullwidth digit") << QString::fromUtf8("&O7\uFF17") << 7.0;
    QTest::newRow("decimal stops at a digit of another script") << QString::fromUtf8("4\u0662") << 4.0;
    QTest::newRow("hex 16-bit wraps") << "&HFFFF" << -1.0;
    QTest::newRow("hex 16-bit sign bit") << "&H8000" << -32768.0;
    QTest::newRow("hex beyond 16 bits") << "&H10000" << 65536.0;
    QTest::newRow("hex 32-bit wraps") << "&HFFFFFFFF" << -1.0;
    QTest::newRow("hex with blanks") << "& H 1 0" << 16.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal stops at 8") << "&O78" << 7.0;
    QTest::newRow("ampersand alone") << "&" << 0.0;
    QTest::newRow("ampersand other letter") << "&X12" << 0.0;
    QTest::newRow("hex without digits") << "&H" << 0.0;
    QTest::newRow("arabic-indic digits are not digits") << QString::fromUtf8("\u0661\u0662") << 0.0;
    QTest::newRow("ten thousand digits") << QString(10000, u'0') + u'7' << 7.0;
    QTest::newRow("largest single") << "3.4e38" << 3.4e38;
    QTest::newRow("largest double") << "1.7976931348623157e308" << 1.7976931348623157e308;
    QTest::newRow("vast negative exponent") << "5e-99999999999999" << 0.0;
    QTest::newRow("long mantissa, small exponent") << QString(1000, u'1') + "e-999" << 1.1111111111111112;
    QTest::newRow("900 decimals") << "3." + QString(900, u'3') << 3.3333333333333335;
    QTest::newRow("leading zeros then exponent") << QString(5000, u'0') + "25E-1" << 2.5;
}

void TestNumberText::leadingValue()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(NumberText::leadingValue(text), value);
}

void TestNumberText::leadingValueOverflows_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("exponent beyond double") << "1e999";
    QTest::newRow("digits beyond double") << QString(400, u'9');
    QTest::newRow("just beyond double") << "1.8e308";
    QTest::newRow("vast exponent") << "1e99999999999999999999";
    QTest::newRow("ten thousand digits") << QString(10000, u'9');
    QTest::newRow("hex beyond 32 bits") << "&H100000000";
    QTest::newRow("octal beyond 32 bits") << "&O77777777777777";
}

void TestNumberText::leadingValueOverflows()
{
    QFETCH(QString, text);
    QVERIFY_THROWS_EXCEPTION(AppError, NumberText::leadingValue(text));
}

void TestNumberText::toInteger16_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("list entry") << "4" << 4;
    QTest::newRow("surrounding blanks") << " 6 " << 6;
    QTest::newRow("half to even down") << "2.5" << 2;
    QTest::newRow("half to even up") << "3.5" << 4;
    QTest::newRow("lowest") << "-32768" << -32768;
    QTest::newRow("highest") << "32767" << 32767;
}

void TestNumberText::toInteger16()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(int(NumberText::toInteger16(text)), value);
}

void TestNumberText::toInteger16Rejects_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("letters") << "Stile dello sfondo:";
    QTest::newRow("number then letters") << "4a";
    QTest::newRow("empty") << "";
    QTest::newRow("above range") << "32768";
    QTest::newRow("below range") << "-32769";
    QTest::newRow("not a number") << "nan";
    QTest::newRow("infinity") << "-inf";
}

void TestNumberText::toInteger16Rejects()
{
    QFETCH(QString, text);
    QVERIFY_THROWS_EXCEPTION(AppError, NumberText::toInteger16(text));
}

void TestNumberText::toSingle_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("fits");
    QTest::newRow("ordinary") << 100.0 << true;
    QTest::newRow("largest single") << double(FLT_MAX) << true;
    QTest::newRow("negative largest") << -double(FLT_MAX) << true;
    QTest::newRow("1e39") << 1e39 << false;
    QTest::newRow("-1e39") << -1e39 << false;
}

void TestNumberText::toSingle()
{
    QFETCH(double, value);
    QFETCH(bool, fits);
    if (fits)
        QCOMPARE(NumberText::toSingle(value), float(value));
    else
        QVERIFY_THROWS_EXCEPTION(AppError, NumberText::toSingle(value));
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
