// Printing and closing as a user would: draw, choose "Stampa:" from the File
// menu on the keyboard, ask the printer dialog for copies, and find them on a
// real CUPS queue as PDF pages; "Chiudi:" ends the program.
#include "CupsSession.h"
#include "Poll.h"
#include "ProgramUnderTest.h"
#include "X11Session.h"

#include <QtTest>

namespace {

const int timeoutMs = 20000;
const QString dialogTitle = QStringLiteral("^Stampa$");
// Client widths under openbox (a 1-pixel border each side): the print size,
// 8600 twips or 573 pixels outside, and the normal size, 11970 or 798.
const int printClientWidth = 571;
const int normalClientWidth = 796;

bool isDark(QRgb pixel)
{
    return qGray(pixel) < 64;
}

// The longest horizontal run of dark pixels in the image.
int longestDarkRun(const QImage &image)
{
    int longest = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = isDark(image.pixel(x, y)) ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    return longest;
}

} // namespace

class TestE2ePrint : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void threeCopiesGiveThreePages();
    void cancelledDialogPrintsNothing();
    void closeEndsTheProgram();

private:
    QStringList printerDialogs() const;
    bool openPrinterDialog();
    bool clientWidthBecomes(int width);
    bool showOptions();

    std::unique_ptr<CupsSession> cups;
    std::unique_ptr<X11Session> session;
    std::unique_ptr<ProgramUnderTest> program;
    QString dialog;
};

void TestE2ePrint::init()
{
    cups = std::make_unique<CupsSession>();
    QVERIFY(cups->start());
    // The program finds the print server through the environment it inherits.
    qputenv("CUPS_SERVER", cups->environment().value("CUPS_SERVER").toLocal8Bit());
    session = std::make_unique<X11Session>();
    QVERIFY(session->start());
    program = std::make_unique<ProgramUnderTest>(*session);
    QVERIFY(program->start());
    QVERIFY(program->activate());
}

void TestE2ePrint::cleanup()
{
    program.reset();
    session.reset();
    cups.reset();
    qunsetenv("CUPS_SERVER");
}

QStringList TestE2ePrint::printerDialogs() const
{
    return session->visibleWindows(program->pid(), dialogTitle);
}

bool TestE2ePrint::openPrinterDialog()
{
    if (!program->key("alt+f") || !program->key("s"))
        return false;
    const auto found = session->waitForWindow(program->pid(), dialogTitle, timeoutMs);
    if (!found)
        return false;
    dialog = *found;
    return session->activate(dialog);
}

bool TestE2ePrint::clientWidthBecomes(int width)
{
    return pollUntil([&] {
        const auto client = session->clientGeometry(program->windowId());
        return client && client->width() == width;
    }, timeoutMs);
}

// Alt+O is lost when it comes before the toolkit has taken the dialog as its
// active window; it is sent again until the dialog has grown.
bool TestE2ePrint::showOptions()
{
    const auto collapsed = session->clientGeometry(dialog);
    if (!collapsed)
        return false;
    const auto grown = [&] {
        const auto now = session->clientGeometry(dialog);
        return now && now->height() > collapsed->height();
    };
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (!program->key("alt+o"))
            return false;
        if (pollUntil(grown, 2000))
            return true;
    }
    QTest::qFail("the printer dialog never showed its options", __FILE__, __LINE__);
    return false;
}

void TestE2ePrint::threeCopiesGiveThreePages()
{
    // The thickness bar has the focus at start: End takes the thickest pen.
    QVERIFY(program->key("End"));
    QVERIFY(program->moveTo({100, 200}));
    QVERIFY(program->press());
    for (int x = 110; x <= 400; x += 10)
        QVERIFY(program->moveTo({x, 200}));
    QVERIFY(program->release());

    QVERIFY(openPrinterDialog());
    QVERIFY(clientWidthBecomes(printClientWidth));
    // "Opzioni >>" shows the copies; from the printer's name, six tabs reach
    // the count in Qt 6.4's dialog.
    QVERIFY(showOptions());
    for (int i = 0; i < 6; ++i)
        QVERIFY(program->key("Tab"));
    QVERIFY(program->key("ctrl+a"));
    QVERIFY(program->type("3"));
    QVERIFY(program->key("Return"));

    QVERIFY(cups->waitForPdfs(3));
    const QStringList pdfs = cups->printedPdfs();
    QCOMPARE(pdfs.size(), 3);
    for (const QString &pdf : pdfs)
        QCOMPARE(cups->pdfPageCount(pdf), 1);
    const QImage page = cups->rasterisePage(pdfs.first(), 1, 50);
    QVERIFY(!page.isNull());
    // The stroke, 350 of the canvas's 571 pixels long, comes out as a dark
    // band of about that part of the page's width.
    const double band = double(longestDarkRun(page)) / page.width();
    QVERIFY2(band > 0.45 && band < 0.65, qPrintable(QString::number(band)));

    // The window stays at the print size; "Ridimensiona:" brings it back.
    QVERIFY(session->clientGeometry(program->windowId())->width() == printClientWidth);
    QVERIFY(program->key("alt+f"));
    QVERIFY(program->key("r"));
    QVERIFY(clientWidthBecomes(normalClientWidth));
}

void TestE2ePrint::cancelledDialogPrintsNothing()
{
    QVERIFY(openPrinterDialog());
    QVERIFY(program->key("Escape"));
    QVERIFY(pollUntil([&] { return printerDialogs().isEmpty(); }, timeoutMs));

    // Nothing was printed, yet "Ridimensiona:" is enabled.
    QVERIFY(program->key("alt+f"));
    QVERIFY(program->key("r"));
    QVERIFY(clientWidthBecomes(normalClientWidth));
    QVERIFY(cups->waitUntilQueueEmpty());
    QVERIFY(cups->printedPdfs().isEmpty());
}

void TestE2ePrint::closeEndsTheProgram()
{
    QVERIFY(program->key("alt+f"));
    QVERIFY(program->key("c"));

    QVERIFY2(pollUntil([&] { return !program->isRunning(); }, timeoutMs), "still running after Chiudi:");
    QVERIFY2(program->exitDescription().contains("exited with 0"), qPrintable(program->exitDescription()));
}

QTEST_GUILESS_MAIN(TestE2ePrint)
#include "tst_e2e_print.moc"
