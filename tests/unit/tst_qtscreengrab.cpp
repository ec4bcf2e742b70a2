#include "platform/QtScreenGrab.h"

#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>

namespace {

// A main window whose client area is red with a blue square at (10, 10).
struct Painted : QMainWindow
{
    Painted()
    {
        menuBar()->addMenu(QStringLiteral("&File"));
        auto *client = new QWidget;
        client->setAutoFillBackground(true);
        client->setPalette(QPalette(Qt::red));
        auto *square = new QWidget(client);
        square->setGeometry(10, 10, 4, 4);
        square->setAutoFillBackground(true);
        square->setPalette(QPalette(Qt::blue));
        setCentralWidget(client);
        setGeometry(40, 40, 120, 90);
    }
};

} // namespace

class TestQtScreenGrab : public QObject
{
    Q_OBJECT

private slots:
    void areasAreMeasuredFromTheirOwnCorner_data();
    void areasAreMeasuredFromTheirOwnCorner();
    void emptySourceGivesNoImage();

private:
    QtScreenGrab grabber;
};

void TestQtScreenGrab::areasAreMeasuredFromTheirOwnCorner_data()
{
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("clientArea");

    QTest::newRow("from the screen, whole window") << true << false;
    QTest::newRow("from the screen, client area") << true << true;
    QTest::newRow("own rendering, whole window") << false << false;
    QTest::newRow("own rendering, client area") << false << true;
}

void TestQtScreenGrab::areasAreMeasuredFromTheirOwnCorner()
{
    QFETCH(bool, shown);
    QFETCH(bool, clientArea);
    Painted window;
    // Hidden, the window cannot be taken from the screen and renders itself.
    if (shown) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    } else {
        window.layout()->activate();
    }
    const QPoint client = window.centralWidget()->mapTo(&window, QPoint());
    const QPoint corner = clientArea ? QPoint() : window.geometry().topLeft() - window.frameGeometry().topLeft() + client;

    const QImage image = grabber.grab(window, clientArea, QRect(corner + QPoint(8, 8), QSize(8, 8)));

    QCOMPARE(image.size(), QSize(8, 8));
    QCOMPARE(image.pixel(0, 0), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(2, 2), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(5, 5), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(6, 6), qRgb(255, 0, 0));
}

void TestQtScreenGrab::emptySourceGivesNoImage()
{
    Painted window;
    QVERIFY(grabber.grab(window, false, QRect(0, 0, 0, 10)).isNull());
}

QTEST_MAIN(TestQtScreenGrab)
#include "tst_qtscreengrab.moc"
