#include "platform/AppError.h"
#include "platform/OuterSize.h"

#include <QEvent>
#include <QTest>
#include <QWidget>
#include <limits>

namespace {

// Stands for a window manager that keeps windows at least `minimum` pixels wide.
struct NoNarrowerThan : QObject
{
    QWidget &window;
    int minimum;
    NoNarrowerThan(QWidget &w, int m) : window(w), minimum(m) { w.installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize && window.width() < minimum)
            window.setFixedWidth(minimum);
        return false;
    }
};

} // namespace

class TestOuterSize : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readsBackAsSetWhileTheWindowHasThatSize_data();
    void readsBackAsSetWhileTheWindowHasThatSize();
    void windowThatDidNotTakeTheSizeReadsItsRealSize();
    void sizeGivenByOtherMeansReadsReal();
    void impossibleSizesAreRefused_data();
    void impossibleSizesAreRefused();

private:
    QWidget *window = nullptr;
};

void TestOuterSize::init()
{
    window = new QWidget;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void TestOuterSize::cleanup()
{
    delete window;
}

void TestOuterSize::readsBackAsSetWhileTheWindowHasThatSize_data()
{
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::addColumn<QSize>("pixels");

    QTest::newRow("print size, a third of a pixel over") << 8600.f << 8255.f << QSize(573, 550);
    QTest::newRow("normal size, whole pixels") << 11970.f << 8250.f << QSize(798, 550);
    QTest::newRow("two thirds of a pixel round up") << 8605.f << 8260.f << QSize(574, 551);
    QTest::newRow("half pixels go to even") << 9007.5f << 9022.5f << QSize(600, 602);
}

void TestOuterSize::readsBackAsSetWhileTheWindowHasThatSize()
{
    QFETCH(float, width);
    QFETCH(float, height);
    QFETCH(QSize, pixels);

    OuterSize::setHeight(*window, height);
    OuterSize::setWidth(*window, width);

    QCOMPARE(window->frameGeometry().size(), pixels);
    QCOMPARE(OuterSize::width(*window), width);
    QCOMPARE(OuterSize::height(*window), height);
}

void TestOuterSize::windowThatDidNotTakeTheSizeReadsItsRealSize()
{
    const int frame = window->frameGeometry().width() - window->width();
    NoNarrowerThan manager(*window, 600);

    OuterSize::setWidth(*window, 8600);

    QCOMPARE(window->frameGeometry().width(), 600 + frame);
    QCOMPARE(OuterSize::width(*window), float((600 + frame) * 15));
}

void TestOuterSize::sizeGivenByOtherMeansReadsReal()
{
    OuterSize::setWidth(*window, 8600);
    window->setFixedWidth(window->width() + 1);

    QCOMPARE(OuterSize::width(*window), float(window->frameGeometry().width() * 15));
}

void TestOuterSize::impossibleSizesAreRefused_data()
{
    QTest::addColumn<float>("twips");

    QTest::newRow("zero") << 0.f;
    QTest::newRow("under half a pixel") << 7.f;
    QTest::newRow("negative") << -8600.f;
    QTest::newRow("beyond any window") << 1e12f;
    QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN();
}

void TestOuterSize::impossibleSizesAreRefused()
{
    QFETCH(float, twips);
    const QSize before = window->frameGeometry().size();

    QVERIFY_THROWS_EXCEPTION(AppError, OuterSize::setWidth(*window, twips));
    QVERIFY_THROWS_EXCEPTION(AppError, OuterSize::setHeight(*window, twips));

    QCOMPARE(window->frameGeometry().size(), before);
}

QTEST_MAIN(TestOuterSize)
#include "tst_outersize.moc"
