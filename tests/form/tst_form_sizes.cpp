#include "FakePlatform.h"
#include "app/Application.h"
#include "app/Form1.h"
#include "platform/OuterSize.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

const QSize printPixels(573, 550);
const QSize normalPixels(798, 550);

// Stands for a window manager that keeps windows at least 600 pixels wide.
struct NoNarrowerThan600 : QObject
{
    QWidget &window;
    explicit NoNarrowerThan600(QWidget &w) : window(w) { w.installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize && window.width() < 600)
            window.setFixedWidth(600);
        return false;
    }
};

} // namespace

class TestFormSizes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void menuStates_data();
    void menuStates();
    void printSizeShowsTheDrawingAreaAlone();
    void previewThatDoesNotReadBackLeavesCopyAsItWas_data();
    void previewThatDoesNotReadBackLeavesCopyAsItWas();
    void onePagePerCopy_data();
    void onePagePerCopy();
    void pageIsTheClientAreaAsShown();
    void failedPrintKeepsWhatWasDone_data();
    void failedPrintKeepsWhatWasDone();
    void failedPrinterDialogPrintsNothing();
    void copyPutsTheWholeWindowOnTheClipboard();
    void copyThatCannotCaptureKeepsTheClipboard();
    void closeEndsTheProgram();

private:
    void click(const QStringList &items);
    QAction *item(const QString &name) const { return form->findChild<QAction *>(name); }
    QSize outerPixels() const { return form->frameGeometry().size(); }
    void verifyPrintSize() const;

    FakePlatform *fake = nullptr;
    Form1 *form = nullptr;
};

void TestFormSizes::initTestCase()
{
    Application::setUp(*qApp);
}

void TestFormSizes::init()
{
    fake = new FakePlatform;
    form = new Form1(fake->platform());
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
}

void TestFormSizes::cleanup()
{
    delete form;
    delete fake;
}

void TestFormSizes::click(const QStringList &items)
{
    for (const QString &name : items) {
        QAction *action = item(name);
        QVERIFY2(action, qPrintable(name));
        action->trigger();
    }
}

void TestFormSizes::verifyPrintSize() const
{
    QCOMPARE(outerPixels(), printPixels);
    QCOMPARE(OuterSize::width(*form), 8600.f);
    QCOMPARE(OuterSize::height(*form), 8255.f);
}

void TestFormSizes::menuStates_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("size");
    QTest::addColumn<bool>("copy");
    QTest::addColumn<bool>("resize");

    QTest::newRow("start") << QStringList{} << "start" << false << false;
    QTest::newRow("disabled rid does nothing") << QStringList{"rid"} << "start" << false << false;
    QTest::newRow("preview") << QStringList{"an"} << "print" << true << false;
    QTest::newRow("preview twice") << QStringList{"an", "an"} << "print" << true << false;
    QTest::newRow("print") << QStringList{"s"} << "print" << false << true;
    QTest::newRow("normal") << QStringList{"no"} << "normal" << false << false;
    QTest::newRow("preview, normal") << QStringList{"an", "no"} << "normal" << false << false;
    QTest::newRow("preview, print, rid keeps copy") << QStringList{"an", "s", "rid"} << "normal" << true << false;
    QTest::newRow("print, normal keeps rid") << QStringList{"s", "no"} << "normal" << false << true;
    QTest::newRow("print, normal, rid") << QStringList{"s", "no", "rid"} << "normal" << false << false;
    QTest::newRow("print, rid, rid") << QStringList{"s", "rid", "rid"} << "normal" << false << false;
    QTest::newRow("print, preview") << QStringList{"s", "an"} << "print" << true << true;
    QTest::newRow("normal, preview") << QStringList{"no", "an"} << "print" << true << false;
    QTest::newRow("preview, rid disabled") << QStringList{"an", "rid"} << "print" << true << false;
}

void TestFormSizes::menuStates()
{
    QFETCH(QStringList, clicks);
    QFETCH(QString, size);
    QFETCH(bool, copy);
    QFETCH(bool, resize);
    const QSize start = outerPixels();

    click(clicks);

    if (size == "print") {
        verifyPrintSize();
    } else if (size == "normal") {
        QCOMPARE(outerPixels(), normalPixels);
        QCOMPARE(OuterSize::width(*form), 11970.f);
        QCOMPARE(OuterSize::height(*form), 8250.f);
    } else {
        QCOMPARE(outerPixels(), start);
    }
    QCOMPARE(form->ui.mnuCopia->isEnabled(), copy);
    QCOMPARE(form->ui.rid->isEnabled(), resize);
    QVERIFY(fake->messageBox.shown.isEmpty());
}

void TestFormSizes::printSizeShowsTheDrawingAreaAlone()
{
    Ui::Form1 &ui = form->ui;
    ui.Command6->click();
    QCOMPARE(form->focusWidget(), ui.VScroll1);

    click({"an"});

    QVERIFY(ui.canvas->width() < ui.Frame1->x() + 8);
    QVERIFY(!ui.Frame1->isVisible());
    QVERIFY(ui.Shape1->isVisible());
    QVERIFY(ui.Shape2->isVisible());
    QVERIFY(ui.Text1->isVisible());
    // Not the comment box: its caret would blink into prints and copies.
    QCOMPARE(form->focusWidget(), ui.canvas);

    click({"no"});

    QVERIFY(ui.Frame1->isVisible());
    QCOMPARE(form->focusWidget(), ui.VScroll1);
    QVERIFY(ui.canvas->width() >= ui.Frame1->x() + ui.Frame1->width() - 4);
}

void TestFormSizes::previewThatDoesNotReadBackLeavesCopyAsItWas_data()
{
    QTest::addColumn<bool>("copyBefore");

    QTest::newRow("copy disabled") << false;
    QTest::newRow("copy enabled") << true;
}

void TestFormSizes::previewThatDoesNotReadBackLeavesCopyAsItWas()
{
    QFETCH(bool, copyBefore);
    if (copyBefore)
        click({"an"});
    click({"no"});
    form->ui.mnuCopia->setEnabled(copyBefore);
    NoNarrowerThan600 manager(*form);

    click({"an"});

    QVERIFY(outerPixels().width() > printPixels.width());
    QVERIFY(OuterSize::width(*form) != 8600.f);
    QCOMPARE(form->ui.mnuCopia->isEnabled(), copyBefore);
}

void TestFormSizes::onePagePerCopy_data()
{
    QTest::addColumn<int>("copies");
    QTest::addColumn<int>("pages");

    QTest::newRow("none") << 0 << 0;
    QTest::newRow("one") << 1 << 1;
    QTest::newRow("three") << 3 << 3;
    QTest::newRow("negative") << -1 << 0;
    QTest::newRow("most negative") << -32768 << 0;
}

void TestFormSizes::onePagePerCopy()
{
    QFETCH(int, copies);
    QFETCH(int, pages);
    fake->dialog.copies = qint16(copies);

    click({"s"});

    QCOMPARE(fake->dialog.printerDialogsOpened, 1);
    QCOMPARE(fake->printer.pages.size(), pages);
    verifyPrintSize();
    QVERIFY(form->ui.rid->isEnabled());
    QVERIFY(!form->ui.mnuCopia->isEnabled());
    QVERIFY(fake->messageBox.shown.isEmpty());
}

void TestFormSizes::pageIsTheClientAreaAsShown()
{
    Ui::Form1 &ui = form->ui;
    ui.Command6->click();
    ui.canvas->setForeColor(Qt::red);
    ui.canvas->setDrawWidth(5);
    ui.canvas->plotPoint(1500, 1500);
    fake->dialog.copies = 2;

    click({"s"});

    QCOMPARE(fake->printer.pages.size(), 2);
    const QImage page = fake->printer.pages[1];
    QCOMPARE(page.size(), ui.canvas->size());
    QCOMPARE(page.pixel(100, 100), qRgb(255, 0, 0));
    QCOMPARE(page.pixel(2, 250), qRgb(128, 128, 128));
    QCOMPARE(page.pixel(12, 250), qRgb(224, 224, 224));
    // Shape1's last column lies under the panel at the normal size.
    QCOMPARE(page.pixel(ui.Frame1->x(), 250), qRgb(128, 128, 128));
}

void TestFormSizes::failedPrintKeepsWhatWasDone_data()
{
    QTest::addColumn<int>("failAt");
    QTest::addColumn<bool>("printedBefore");

    QTest::newRow("first of three") << 1 << false;
    QTest::newRow("second of three") << 2 << false;
    QTest::newRow("third of three") << 3 << false;
    QTest::newRow("second of three after a print") << 2 << true;
}

void TestFormSizes::failedPrintKeepsWhatWasDone()
{
    QFETCH(int, failAt);
    QFETCH(bool, printedBefore);
    Ui::Form1 &ui = form->ui;
    if (printedBefore) {
        click({"s", "no"});
        fake->printer.pages.clear();
    }
    ui.canvas->setDrawWidth(9);
    ui.canvas->plotPoint(3000, 3000);
    const QImage drawing = ui.canvas->image();
    const QRect drawn(QPoint(), drawing.size());
    fake->dialog.copies = 3;
    fake->printer.failAtPage = failAt;

    click({"s"});

    QCOMPARE(fake->printer.pages.size(), failAt - 1);
    QCOMPARE(fake->messageBox.shown.size(), 1);
    QVERIFY(fake->messageBox.shown[0].contains("printer refused"));
    QVERIFY(fake->messageBox.shown[0].contains(QStringLiteral("Copie stampate: %1 di 3.").arg(failAt - 1)));
    verifyPrintSize();
    QCOMPARE(ui.rid->isEnabled(), printedBefore);
    QCOMPARE(ui.canvas->image().copy(drawn), drawing);
}

void TestFormSizes::failedPrinterDialogPrintsNothing()
{
    fake->dialog.printerDialogFails = true;

    click({"s"});

    QCOMPARE(fake->messageBox.shown, QStringList{"printer dialog failed"});
    QVERIFY(fake->printer.pages.isEmpty());
    verifyPrintSize();
    QVERIFY(!form->ui.rid->isEnabled());
}

void TestFormSizes::copyPutsTheWholeWindowOnTheClipboard()
{
    click({"mnuCopia"});
    QCOMPARE(fake->clipboard.clears, 0);

    click({"an", "mnuCopia"});

    QCOMPARE(fake->screenGrab.requests.size(), 1);
    QCOMPARE(fake->screenGrab.requests[0].window, form);
    QVERIFY(!fake->screenGrab.requests[0].clientArea);
    QCOMPARE(fake->clipboard.clears, 1);
    QCOMPARE(fake->clipboard.image.size(), printPixels);
    QCOMPARE(fake->clipboard.image, form->ui.Picture1->picture().bitmap());
    QVERIFY(!form->ui.Picture1->isVisible());
    QVERIFY(fake->messageBox.shown.isEmpty());
}

void TestFormSizes::copyThatCannotCaptureKeepsTheClipboard()
{
    const QImage held = fake->clipboard.image;
    fake->screenGrab.fails = true;

    click({"an", "mnuCopia"});

    QCOMPARE(fake->messageBox.shown.size(), 1);
    QVERIFY(fake->messageBox.shown[0].contains("appunti non sono stati modificati"));
    QCOMPARE(fake->clipboard.clears, 0);
    QCOMPARE(fake->clipboard.image, held);
    QVERIFY(form->ui.Picture1->picture().isNull());
}

void TestFormSizes::closeEndsTheProgram()
{
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    QTimer::singleShot(0, form, [this] { click({"chi"}); });
    QTimer tooLate;
    tooLate.callOnTimeout(qApp, [] { QCoreApplication::exit(1); });
    tooLate.start(10000);

    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!form->isVisible());
    QCOMPARE(lastClosed.size(), 1);
}

QTEST_MAIN(TestFormSizes)
#include "tst_form_sizes.moc"
