// The background colour through the real menu, message box and colour dialog:
// the warning comes first on every use, the colour typed into the dialog
// becomes the canvas's and the comment line's, and cancelling changes nothing.
#include "ProgramWindows.h"
#include "Poll.h"
#include "ProgramUnderTest.h"
#include "X11Session.h"

#include <QtTest>

namespace {

const QString mainTitle = QStringLiteral("^Pittorello 1$");
// Canvas positions: the drawing area left of the panel, and the comment line on it.
const QRect paper(0, 0, 568, 506);
const QRect comment(16, 472, 529, 25);
const QPoint commentInside(comment.right() - 8, comment.center().y());
const QPoint panelBare(568 + 8, 200);
const QRgb chosen = qRgb(0x33, 0x66, 0xcc);
const int timeoutMs = 10000;

} // namespace

class TestE2eBackground : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void colourTypedInTheDialogColoursCanvasAndComment();

private:
    bool stroke(QPoint from, QPoint to);
    bool openBackgroundCommand();
    bool confirmWarning();

    std::unique_ptr<X11Session> session;
    std::unique_ptr<ProgramUnderTest> program;
};

void TestE2eBackground::init()
{
    session = std::make_unique<X11Session>();
    QVERIFY(session->start());
    program = std::make_unique<ProgramUnderTest>(*session);
    QVERIFY(program->start());
    QVERIFY(program->activate());
}

void TestE2eBackground::cleanup()
{
    program.reset();
    session.reset();
}

bool TestE2eBackground::stroke(QPoint from, QPoint to)
{
    if (!program->moveTo(from) || !program->press())
        return false;
    for (int i = 1; i <= 10; ++i)
        if (!program->moveTo(from + (to - from) * i / 10))
            return false;
    return program->release();
}

// "Sfondo" has no access key: reach it from "&File" with the arrow keys.
bool TestE2eBackground::openBackgroundCommand()
{
    return program->activate() && program->key("alt+f") && ProgramWindows::waitForCount(*session, *program, 2)
        && program->key("Right") && program->key("Right") && program->key("Return");
}

// The warning bears the program's title, so it is the second window of that name.
bool TestE2eBackground::confirmWarning()
{
    QString box;
    const bool shown = pollUntil([&] {
        const QStringList windows = ProgramWindows::visible(*session, *program, mainTitle);
        for (const QString &w : windows)
            if (w != program->windowId())
                box = w;
        return windows.size() == 2 && !box.isEmpty();
    }, timeoutMs);
    if (!shown) {
        QTest::qFail("no warning titled \"Pittorello 1\" before the colour chooser", __FILE__, __LINE__);
        return false;
    }
    return session->activate(box) && program->key("Return");
}

void TestE2eBackground::colourTypedInTheDialogColoursCanvasAndComment()
{
    QVERIFY(stroke({100, 100}, {300, 250}));
    QVERIFY(pollUntil([&] { return program->grabCanvas().pixel(300, 250) != qRgb(255, 255, 255); }, timeoutMs));
    const QRgb panelFace = program->grabCanvas().pixel(panelBare);

    QVERIFY(openBackgroundCommand());
    QVERIFY(confirmWarning());
    QVERIFY(ProgramWindows::chooseColour(*session, *program, "#3366cc"));

    QVERIFY(pollUntil([&] { return program->grabCanvas().pixel(300, 250) == chosen; }, timeoutMs));
    QImage canvas = program->grabCanvas();
    for (int y = paper.top(); y <= paper.bottom(); ++y)
        for (int x = paper.left(); x <= paper.right(); ++x)
            if (!comment.contains(x, y))
                QVERIFY2(canvas.pixel(x, y) == chosen,
                         qPrintable(QStringLiteral("(%1,%2) is %3").arg(x).arg(y).arg(canvas.pixel(x, y), 0, 16)));
    QCOMPARE(canvas.pixel(commentInside), chosen);
    QCOMPARE(canvas.pixel(panelBare), panelFace);

    // Again: the warning again, then a cancelled chooser leaves drawing and colours alone.
    QVERIFY(stroke({100, 300}, {400, 300}));
    QVERIFY(pollUntil([&] { return program->grabCanvas().pixel(400, 300) != chosen; }, timeoutMs));
    QVERIFY(openBackgroundCommand());
    QVERIFY(confirmWarning());
    QVERIFY(ProgramWindows::cancelColour(*session, *program));
    // Once a later stroke shows, the cancelled command has long finished.
    QVERIFY(stroke({50, 50}, {60, 50}));
    QVERIFY(pollUntil([&] { return program->grabCanvas().pixel(60, 50) != chosen; }, timeoutMs));
    canvas = program->grabCanvas();
    QVERIFY(canvas.pixel(400, 300) != chosen);
    QCOMPARE(canvas.pixel(200, 200), chosen);
    QCOMPARE(canvas.pixel(commentInside), chosen);
    QVERIFY(program->isRunning());
}

QTEST_GUILESS_MAIN(TestE2eBackground)
#include "tst_e2e_background.moc"
