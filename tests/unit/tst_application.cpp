#include "app/Application.h"

#include <QApplication>
#include <QFontInfo>
#include <QTest>

class TestApplication : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Application::setUp(*qApp); }
    void qtDialogsSpeakItalian_data();
    void qtDialogsSpeakItalian();
    void designFontsHaveSubstitutes_data();
    void designFontsHaveSubstitutes();
};

void TestApplication::qtDialogsSpeakItalian_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("italian");
    QTest::newRow("colour dialog hue") << "QColorDialog" << "Hu&e:" << "Tint&a:";
    QTest::newRow("button cancel") << "QPlatformTheme" << "Cancel" << "Annulla";
    QTest::newRow("print dialog") << "QPrintDialog" << "Print" << "Stampa";
}

void TestApplication::qtDialogsSpeakItalian()
{
    QFETCH(QString, context);
    QFETCH(QString, english);
    QFETCH(QString, italian);
    QCOMPARE(QCoreApplication::translate(context.toLatin1(), english.toLatin1()), italian);
}

void TestApplication::designFontsHaveSubstitutes_data()
{
    QTest::addColumn<QString>("design");
    QTest::addColumn<QString>("installed");
    QTest::newRow("sans") << "MS Sans Serif" << "Liberation Sans";
    QTest::newRow("serif") << "MS Serif" << "Liberation Serif";
    QTest::newRow("comic") << "Comic Sans MS" << "Comic Neue";
}

void TestApplication::designFontsHaveSubstitutes()
{
    QFETCH(QString, design);
    QFETCH(QString, installed);
    QCOMPARE(QFontInfo(QFont(design)).family(), installed);
}

QTEST_MAIN(TestApplication)
#include "tst_application.moc"
