#include "Fixture.h"
#include "platform/OuterSize.h"

#include <memory>

// The window's sizes, menus, printing, copy and frame, offscreen.
class TestFormWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Application::setUp(*qApp); }
    void init();
    void cleanup() { f.reset(); }

    void menus_data();
    void menus();
    void printFailsMidRun_data();
    void printFailsMidRun();
    void copy_data();
    void copy();
    void frame_data();
    void frame();

private:
    std::unique_ptr<Fixture> f;
};

void TestFormWindow::init()
{
    f = std::make_unique<Fixture>();
    QVERIFY(QTest::qWaitForWindowActive(&f->form));
}

void TestFormWindow::menus_data()
{
    QTest::addColumn<QString>("items");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("printSize");
    QTest::addColumn<bool>("copyEnabled");
    QTest::addColumn<bool>("ridEnabled");
    QTest::addColumn<int>("pages");
    QTest::newRow("start") << "" << 1 << false << false << false << 0;
    QTest::newRow("preview") << "an" << 1 << true << true << false << 0;
    QTest::newRow("print 0 copies") << "s" << 0 << true << false << true << 0;
    QTest::newRow("print 3 copies") << "s" << 3 << true << false << true << 3;
    QTest::newRow("print -1 copies") << "s" << -1 << true << false << true << 0;
    QTest::newRow("preview, print, rid") << "an s rid" << 1 << false << true << false << 1;
    QTest::newRow("print, normal") << "s no" << 1 << false << false << true << 1;
    QTest::newRow("preview, normal") << "an no" << 1 << false << false << false << 0;
}

void TestFormWindow::menus()
{
    QFETCH(QString, items);
    QFETCH(int, copies);
    QFETCH(bool, printSize);
    QFETCH(bool, copyEnabled);
    QFETCH(bool, ridEnabled);
    QFETCH(int, pages);
    f->dialog.copies = qint16(copies);
    f->stroke(Qt::LeftButton, {{700, 100}, {700, 101}});
    for (const QString &item : items.split(u' ', Qt::SkipEmptyParts))
        f->form.findChild<QAction *>(item)->trigger();
    QCOMPARE(f->ui.mnuCopia->isEnabled(), copyEnabled);
    QCOMPARE(f->ui.rid->isEnabled(), ridEnabled);
    QCOMPARE(f->printer.pages.size(), pages);
    QCOMPARE(f->printer.jobs, pages ? 1 : 0);
    // The set twips read back exactly; the client area is the design's, whatever the frame.
    QCOMPARE(OuterSize::width(f->form), printSize ? 8600.f : 11970.f);
    QCOMPARE(OuterSize::height(f->form), printSize ? 8255.f : 8250.f);
    QCOMPARE(f->ui.canvas->size(), QSize(printSize ? 567 : 792, 506));
    QCOMPARE(f->ui.Frame1->isVisible(), !printSize);
    QCOMPARE(f->pixel(700, 101), qRgb(0, 0, 0)); // narrowing loses nothing
    if (pages)
        QCOMPARE(f->printer.pages.first().size(), QSize(567, 506));
}

void TestFormWindow::printFailsMidRun_data()
{
    QTest::addColumn<int>("failing");
    QTest::newRow("first page") << 1;
    QTest::newRow("third page") << 3;
}

void TestFormWindow::printFailsMidRun()
{
    QFETCH(int, failing);
    f->dialog.copies = 3;
    f->printer.failAtPage = failing;
    f->ui.s->trigger();
    QCOMPARE(f->printer.pages.size(), failing - 1);
    QCOMPARE(f->messageBox.shown, QStringList{QStringLiteral("printer refused\nCopie stampate: %1 di 3.").arg(failing - 1)});
    QVERIFY(!f->ui.rid->isEnabled());
}

void TestFormWindow::copy_data()
{
    QTest::addColumn<int>("caps");
    QTest::addColumn<int>("entries");
    QTest::addColumn<bool>("fails");
    QTest::newRow("true colour") << 0 << 0 << false;
    QTest::newRow("palette of 256") << 0x100 << 256 << false;
    QTest::newRow("palette of 16") << 0x100 << 16 << false;
    QTest::newRow("256 entries, no palette bit") << 0 << 256 << false;
    QTest::newRow("capture fails") << 0 << 0 << true;
}

void TestFormWindow::copy()
{
    QFETCH(int, caps);
    QFETCH(int, entries);
    QFETCH(bool, fails);
    f->screen.caps = caps;
    f->screen.entries = entries;
    f->screen.fails = fails;
    const QImage before = f->clipboard.image;
    f->ui.an->trigger();
    f->ui.mnuCopia->trigger();
    const Picture &picture = f->ui.Picture1->picture();
    QCOMPARE(f->messageBox.shown.size(), fails ? 1 : 0);
    // A failed capture leaves the clipboard as it was.
    QCOMPARE(f->clipboard.image, fails ? before : picture.bitmap());
    if (fails) {
        QVERIFY(picture.isNull());
        return;
    }
    QCOMPARE(picture.bitmap(), f->form.grab().toImage().convertToFormat(QImage::Format_RGB32));
    const bool palette = caps && entries == 256;
    QCOMPARE(picture.palette().size(), palette ? 256 : 0);
    if (palette)
        QCOMPARE(picture.palette().at(200), FakeScreenGrab::entry(200));
}

void TestFormWindow::frame_data()
{
    QTest::addColumn<QString>("actions"); // ON, OF, or a pattern picked from the list
    QTest::addColumn<bool>("shape1");
    QTest::addColumn<bool>("shape2");
    QTest::addColumn<QPoint>("hatch"); // from one pattern pixel to the next; null: none
    QTest::newRow("ON twice") << "ON ON" << true << true << QPoint();
    QTest::newRow("OF then 4: Shape1 alone, upward") << "OF 4" << true << false << QPoint(1, -1);
    QTest::newRow("5: downward") << "5" << true << false << QPoint(1, 1);
    QTest::newRow("ON then 1: Shape1 hidden") << "ON 1" << false << true << QPoint();
    QTest::newRow("2 then OF") << "2 OF" << false << false << QPoint();
}

void TestFormWindow::frame()
{
    QFETCH(QString, actions);
    QFETCH(bool, shape1);
    QFETCH(bool, shape2);
    QFETCH(QPoint, hatch);
    f->dialog.colour = 0x0000FF; // red
    f->ui.Command8->click();
    for (const QString &action : actions.split(u' ')) {
        if (action == u"ON" || action == u"OF") {
            (action == u"ON" ? f->ui.Command6 : f->ui.Command7)->click();
            continue;
        }
        f->ui.Combo3->setCurrentIndex(f->ui.Combo3->findText(action));
        emit f->ui.Combo3->activated(f->ui.Combo3->currentIndex());
    }
    QCOMPARE(f->ui.Shape1->isVisible(), shape1);
    QCOMPARE(f->ui.Shape2->isVisible(), shape2);
    if (hatch.isNull())
        return;
    // The hatch in the pattern colour over the drawing, its lines running the pattern's way.
    const QImage shown = f->ui.canvas->grab().toImage();
    QPoint p(200, 200);
    while (shown.pixel(p) != qRgb(255, 0, 0) && p.x() < 216)
        p.rx()++;
    QCOMPARE(shown.pixel(p), qRgb(255, 0, 0));
    QCOMPARE(shown.pixel(p + hatch), qRgb(255, 0, 0));
    QCOMPARE(shown.pixel(p + QPoint(1, 0)), qRgb(255, 255, 255));
}

QTEST_MAIN(TestFormWindow)
#include "tst_form_window.moc"
