#include "FakePlatform.h"
#include "capture/Module1.h"
#include "capture/PictureBox.h"
#include "platform/OuterSize.h"

#include <QTest>
#include <QWidget>

namespace {

// Records what the picture holder held at the moment the clipboard was emptied.
struct WatchingClipboard : FakeClipboard
{
    PictureBox *holder = nullptr;
    QList<qint64> heldAtClear;
    void clear() override
    {
        heldAtClear << holder->picture().bitmap().cacheKey();
        FakeClipboard::clear();
    }
};

} // namespace

class TestModule1 : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void formIsTakenWholeAtItsOuterSize_data();
    void formIsTakenWholeAtItsOuterSize();
    void sourceRectangleIsCopiedUnscaled_data();
    void sourceRectangleIsCopiedUnscaled();
    void areaOffTheScreenStaysBlack();
    void emptySizeGivesTheEmptyPicture_data();
    void emptySizeGivesTheEmptyPicture();
    void paletteOnlyFromAPaletteScreenOf256_data();
    void paletteOnlyFromAPaletteScreenOf256();
    void bitmapHasTheScreensFormat_data();
    void bitmapHasTheScreensFormat();
    void pictureFromBitmap();
    void copyHoldsThePictureBeforeEmptyingTheClipboard();
    void secondCopyReplacesTheFirst();
    void failedCaptureKeepsTheClipboard();
    void refusingClipboardComesAfterPictureAndClear();

private:
    void setOuterSize(float width, float height);

    FakeScreenGrab *screen = nullptr;
    WatchingClipboard *clipboard = nullptr;
    PictureBox *holder = nullptr;
    QWidget *form = nullptr;
};

void TestModule1::init()
{
    screen = new FakeScreenGrab;
    clipboard = new WatchingClipboard;
    holder = new PictureBox;
    clipboard->holder = holder;
    form = new QWidget;
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
}

void TestModule1::cleanup()
{
    delete form;
    delete holder;
    delete clipboard;
    delete screen;
}

void TestModule1::setOuterSize(float width, float height)
{
    OuterSize::setHeight(*form, height);
    OuterSize::setWidth(*form, width);
}

void TestModule1::formIsTakenWholeAtItsOuterSize_data()
{
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::addColumn<double>("ppiX");
    QTest::addColumn<double>("ppiY");
    QTest::addColumn<QSize>("pixels");

    QTest::newRow("9000 x 6000 at 96 dpi") << 9000.f << 6000.f << 96.0 << 96.0 << QSize(600, 400);
    QTest::newRow("print size") << 8600.f << 8255.f << 96.0 << 96.0 << QSize(573, 550);
    QTest::newRow("normal size") << 11970.f << 8250.f << 96.0 << 96.0 << QSize(798, 550);
    QTest::newRow("600.5 wide gives 600") << 9007.5f << 6000.f << 96.0 << 96.0 << QSize(600, 400);
    QTest::newRow("601.5 wide gives 602") << 9022.5f << 6000.f << 96.0 << 96.0 << QSize(602, 400);
    QTest::newRow("400.5 high gives 400") << 9000.f << 6007.5f << 96.0 << 96.0 << QSize(600, 400);
    QTest::newRow("401.5 high gives 402") << 9000.f << 6022.5f << 96.0 << 96.0 << QSize(600, 402);
    QTest::newRow("120 dpi both ways") << 9000.f << 6000.f << 120.0 << 120.0 << QSize(750, 500);
    QTest::newRow("each axis its own dpi") << 9000.f << 6000.f << 192.0 << 48.0 << QSize(1200, 200);
}

void TestModule1::formIsTakenWholeAtItsOuterSize()
{
    QFETCH(float, width);
    QFETCH(float, height);
    QFETCH(double, ppiX);
    QFETCH(double, ppiY);
    QFETCH(QSize, pixels);
    screen->ppiX = ppiX;
    screen->ppiY = ppiY;
    setOuterSize(width, height);

    const Picture picture = Module1::GrabFormImage(*form, *screen);

    QCOMPARE(picture.bitmap().size(), pixels);
    QCOMPARE(screen->requests.size(), 1);
    QCOMPARE(screen->requests[0].window, form);
    QVERIFY(!screen->requests[0].clientArea);
    QCOMPARE(screen->requests[0].source, QRect(QPoint(0, 0), pixels));
    QCOMPARE(picture.bitmap().pixel(0, 0), FakeScreenGrab::pixel(0, 0, false));
    QVERIFY(picture.palette().isEmpty());
}

void TestModule1::sourceRectangleIsCopiedUnscaled_data()
{
    QTest::addColumn<bool>("clientArea");
    QTest::addColumn<QRect>("source");

    QTest::newRow("whole window from its corner") << false << QRect(0, 0, 30, 40);
    QTest::newRow("whole window, inner rectangle") << false << QRect(10, 20, 30, 40);
    QTest::newRow("client area, inner rectangle") << true << QRect(7, 3, 5, 9);
}

void TestModule1::sourceRectangleIsCopiedUnscaled()
{
    QFETCH(bool, clientArea);
    QFETCH(QRect, source);

    const Picture picture = Module1::GrabWindowImage(*form, clientArea, source.x(), source.y(), source.width(),
                                                     source.height(), *screen);

    QCOMPARE(screen->requests.size(), 1);
    QCOMPARE(screen->requests[0].clientArea, clientArea);
    QCOMPARE(screen->requests[0].source, source);
    const QImage &bitmap = picture.bitmap();
    QCOMPARE(bitmap.size(), source.size());
    QCOMPARE(bitmap.pixel(0, 0), FakeScreenGrab::pixel(source.x(), source.y(), clientArea));
    QCOMPARE(bitmap.pixel(source.width() - 1, source.height() - 1),
             FakeScreenGrab::pixel(source.right(), source.bottom(), clientArea));
}

void TestModule1::areaOffTheScreenStaysBlack()
{
    screen->onScreen = QSize(10, 5);

    const Picture picture = Module1::GrabWindowImage(*form, false, 0, 0, 20, 8, *screen);

    QCOMPARE(picture.bitmap().size(), QSize(20, 8));
    QCOMPARE(picture.bitmap().pixel(9, 4), FakeScreenGrab::pixel(9, 4, false));
    QCOMPARE(picture.bitmap().pixel(10, 4), qRgb(0, 0, 0));
    QCOMPARE(picture.bitmap().pixel(9, 5), qRgb(0, 0, 0));
}

void TestModule1::emptySizeGivesTheEmptyPicture_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");

    QTest::newRow("no width") << 0 << 10;
    QTest::newRow("no height") << 10 << 0;
    QTest::newRow("negative") << -5 << 10;
}

void TestModule1::emptySizeGivesTheEmptyPicture()
{
    QFETCH(int, width);
    QFETCH(int, height);

    QVERIFY(Module1::GrabWindowImage(*form, false, 0, 0, width, height, *screen).isNull());
}

void TestModule1::paletteOnlyFromAPaletteScreenOf256_data()
{
    QTest::addColumn<int>("caps");
    QTest::addColumn<int>("entries");
    QTest::addColumn<bool>("palette");

    QTest::newRow("palette bit, 256 entries") << 0x100 << 256 << true;
    QTest::newRow("palette bit among others, 256") << 0x7FFF << 256 << true;
    QTest::newRow("palette bit, 16 entries") << 0x100 << 16 << false;
    QTest::newRow("palette bit, 255 entries") << 0x100 << 255 << false;
    QTest::newRow("palette bit, 257 entries") << 0x100 << 257 << false;
    QTest::newRow("no palette bit, 256 entries") << 0x0FF << 256 << false;
    QTest::newRow("true colour") << 0 << 0 << false;
}

void TestModule1::paletteOnlyFromAPaletteScreenOf256()
{
    QFETCH(int, caps);
    QFETCH(int, entries);
    QFETCH(bool, palette);
    screen->caps = caps;
    screen->entries = entries;
    setOuterSize(900, 600);

    const Picture picture = Module1::GrabFormImage(*form, *screen);

    QVERIFY(!picture.isNull());
    if (!palette) {
        QVERIFY(picture.palette().isEmpty());
        return;
    }
    QCOMPARE(picture.palette().size(), 256);
    for (int i : {0, 1, 127, 255})
        QCOMPARE(picture.palette().at(i), FakeScreenGrab::paletteEntry(i));
}

void TestModule1::bitmapHasTheScreensFormat_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("entries");

    QTest::newRow("32 bits") << int(QImage::Format_RGB32) << 0;
    QTest::newRow("16 bits") << int(QImage::Format_RGB16) << 0;
    QTest::newRow("8 bits through the palette") << int(QImage::Format_Indexed8) << 256;
}

void TestModule1::bitmapHasTheScreensFormat()
{
    QFETCH(int, format);
    QFETCH(int, entries);
    screen->format = QImage::Format(format);
    screen->caps = entries ? ScreenGrab::PaletteBit : 0;
    screen->entries = entries;

    const Picture picture = Module1::GrabWindowImage(*form, false, 0, 0, 16, 16, *screen);

    QCOMPARE(picture.bitmap().format(), QImage::Format(format));
    QCOMPARE(picture.bitmap().size(), QSize(16, 16));
    if (entries)
        QCOMPARE(picture.bitmap().colorTable(), picture.palette());
}

void TestModule1::pictureFromBitmap()
{
    QVERIFY(Module1::PictureFromBitmap(QImage(), {}).isNull());
    QImage bitmap(3, 2, QImage::Format_RGB32);
    bitmap.fill(Qt::red);
    const QList<QRgb> palette(256, qRgb(1, 2, 3));
    const Picture picture = Module1::PictureFromBitmap(bitmap, palette);
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.bitmap(), bitmap);
    QCOMPARE(picture.palette(), palette);
}

void TestModule1::copyHoldsThePictureBeforeEmptyingTheClipboard()
{
    setOuterSize(9000, 6000);

    Module1::CopyToClipboard(*form, *holder, *screen, *clipboard);

    QCOMPARE(holder->picture().bitmap().size(), QSize(600, 400));
    QCOMPARE(clipboard->heldAtClear, QList<qint64>{holder->picture().bitmap().cacheKey()});
    QCOMPARE(clipboard->clears, 1);
    QCOMPARE(clipboard->image, holder->picture().bitmap());
}

void TestModule1::secondCopyReplacesTheFirst()
{
    setOuterSize(9000, 6000);
    Module1::CopyToClipboard(*form, *holder, *screen, *clipboard);
    const qint64 first = holder->picture().bitmap().cacheKey();
    setOuterSize(4500, 3000);

    Module1::CopyToClipboard(*form, *holder, *screen, *clipboard);

    QCOMPARE(holder->picture().bitmap().size(), QSize(300, 200));
    QCOMPARE(clipboard->image.size(), QSize(300, 200));
    QCOMPARE(clipboard->clears, 2);
    QCOMPARE(clipboard->heldAtClear.size(), 2);
    QVERIFY(clipboard->heldAtClear[1] != first);
}

void TestModule1::failedCaptureKeepsTheClipboard()
{
    setOuterSize(9000, 6000);
    Module1::CopyToClipboard(*form, *holder, *screen, *clipboard);
    const QImage before = clipboard->image;
    screen->fails = true;

    QVERIFY_THROWS_EXCEPTION(AppError, Module1::CopyToClipboard(*form, *holder, *screen, *clipboard));

    QCOMPARE(clipboard->clears, 1);
    QCOMPARE(clipboard->image, before);
    QCOMPARE(holder->picture().bitmap(), before);
}

void TestModule1::refusingClipboardComesAfterPictureAndClear()
{
    setOuterSize(9000, 6000);
    clipboard->refuses = true;

    QVERIFY_THROWS_EXCEPTION(AppError, Module1::CopyToClipboard(*form, *holder, *screen, *clipboard));

    QCOMPARE(holder->picture().bitmap().size(), QSize(600, 400));
    QCOMPARE(clipboard->clears, 1);
    QVERIFY(clipboard->image.isNull());
}

QTEST_MAIN(TestModule1)
#include "tst_module1.moc"
