// The frame decoration on screen: "Cornice ON", a hatch picked from the list
// and coloured through the real colour dialog lies over the drawing in the
// right direction and colour, and Shape2's band covers the drawing beneath it.
#include "ProgramWindows.h"
#include "Poll.h"
#include "ProgramUnderTest.h"
#include "X11Session.h"

#include <QtTest>

namespace {

// Canvas positions of the controls; those in the group box are offset by its origin.
const QPoint panel(568, 0);
const QPoint frameOn = QRect(16, 128, 97, 25).translated(panel).center();
const QRect patternList = QRect(16, 240, 121, 21).translated(panel);
const QPoint patternColour = QRect(16, 264, 121, 17).translated(panel).center();
// Shape1's left border, Shape2's left band, and what lies inside that band,
// all above the comment line.
const QRect outerBorder(0, 18, 5, 443);
const QRect band(8, 18, 10, 443);
const QRect inside(QPoint(18, 18), QPoint(550, 460));
const int strokeRow = 200;

const QRgb white = qRgb(255, 255, 255);
const QRgb hatch = qRgb(0xcc, 0, 0);
const QRgb bandColour = qRgb(0xe0, 0xe0, 0xe0);
const QRgb outerColour = qRgb(0x80, 0x80, 0x80);
const int timeoutMs = 10000;

bool dark(QRgb p) { return qGray(p) < 64; }

int countIn(const QImage &image, const QRect &area, bool (*test)(QRgb))
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += test(image.pixel(x, y));
    return n;
}

// Hatch pixels from which eight more follow in the direction.
int runs(const QImage &image, const QRect &area, QPoint step)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            int k = 0;
            for (QPoint p(x, y); k < 8 && area.contains(p) && image.pixel(p) == hatch; p += step)
                ++k;
            count += k == 8;
        }
    return count;
}

QString where(const QImage &image, int x, int y)
{
    return QStringLiteral("(%1,%2) is %3").arg(x).arg(y).arg(image.pixel(x, y), 0, 16);
}

} // namespace

class TestE2eFrame : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void upwardHatchInItsColourOverTheDrawing();
    void bandAloneCoversOnlyTheDrawing();

private:
    bool pickPattern(const QString &code);
    // The stroke's pixels where it crosses the frame and runs on inside it.
    QList<QPoint> strokeUnder(const QRect &area) const;

    QImage drawn;

    std::unique_ptr<X11Session> session;
    std::unique_ptr<ProgramUnderTest> program;
};

// One stroke crossing the frame's left edge into the drawing area, then the frame on.
void TestE2eFrame::initTestCase()
{
    session = std::make_unique<X11Session>();
    QVERIFY(session->start());
    program = std::make_unique<ProgramUnderTest>(*session);
    QVERIFY(program->start());
    QVERIFY(program->activate());
    QVERIFY(program->moveTo({1, strokeRow}) && program->press());
    for (int x = 2; x <= 60; ++x)
        QVERIFY(program->moveTo({x, strokeRow}));
    QVERIFY(program->release());
    QVERIFY(pollUntil([&] { return dark(program->grabCanvas().pixel(60, strokeRow)); }, timeoutMs));
    // Moves can merge under load, so what counts is the stroke as it came out.
    drawn = program->grabCanvas();
    QVERIFY(!strokeUnder(outerBorder).isEmpty() && !strokeUnder(band).isEmpty() && !strokeUnder(inside).isEmpty());
    QVERIFY(program->click(frameOn));
    QVERIFY(pollUntil([&] { return program->grabCanvas().pixel(band.center()) == bandColour; }, timeoutMs));
}

void TestE2eFrame::cleanupTestCase()
{
    program.reset();
    session.reset();
}

QList<QPoint> TestE2eFrame::strokeUnder(const QRect &area) const
{
    QList<QPoint> found;
    for (int x = area.left(); x <= std::min(area.right(), 60); ++x)
        if (dark(drawn.pixel(x, strokeRow)))
            found << QPoint(x, strokeRow);
    return found;
}

// Drops the list down and picks the entry by typing it.
bool TestE2eFrame::pickPattern(const QString &code)
{
    return program->click({patternList.right() - 8, patternList.center().y()})
        && ProgramWindows::waitForCount(*session, *program, 2) && program->key(code) && program->key("Return");
}

void TestE2eFrame::upwardHatchInItsColourOverTheDrawing()
{
    QVERIFY(pickPattern("4"));
    QVERIFY(program->click(patternColour));
    QVERIFY(ProgramWindows::chooseColour(*session, *program, "#cc0000"));
    QVERIFY(pollUntil([&] { return runs(program->grabCanvas(), inside, {1, -1}) > 0; }, timeoutMs));

    const QImage canvas = program->grabCanvas();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb p = canvas.pixel(x, y);
            QVERIFY2(p == white || p == hatch || (y == strokeRow && dark(p)), qPrintable(where(canvas, x, y)));
        }
    QCOMPARE(runs(canvas, inside, {1, 1}), 0);
    QCOMPARE(runs(canvas, inside, {1, 0}), 0);
    QCOMPARE(runs(canvas, inside, {0, 1}), 0);
    // Lines, not a fill: the drawing beneath still shows between them.
    const int hatched = countIn(canvas, inside, [](QRgb p) { return p == hatch; });
    QVERIFY(hatched > inside.width() * inside.height() / 20 && hatched < inside.width() * inside.height() / 4);
    for (const QPoint &p : strokeUnder(inside))
        QVERIFY2(dark(canvas.pixel(p)) || canvas.pixel(p) == hatch, qPrintable(where(canvas, p.x(), p.y())));
    // Over Shape2's band the hatch lies on light grey; the stroke stays under both.
    for (int y = band.top(); y <= band.bottom(); ++y)
        for (int x = band.left(); x <= band.right(); ++x)
            QVERIFY2(canvas.pixel(x, y) == bandColour || canvas.pixel(x, y) == hatch, qPrintable(where(canvas, x, y)));
    QVERIFY(countIn(canvas, band, [](QRgb p) { return p == hatch; }) > 0);
    QCOMPARE(countIn(canvas, outerBorder, [](QRgb p) { return p == outerColour; }), outerBorder.width() * outerBorder.height());
}

// Pattern 1 hides Shape1: Shape2 alone, its band over the stroke, the stroke
// plain on either side of it.
void TestE2eFrame::bandAloneCoversOnlyTheDrawing()
{
    QVERIFY(pickPattern("1"));
    QVERIFY(pollUntil([&] { return program->grabCanvas().pixel(outerBorder.center()) == white; }, timeoutMs));

    const QImage canvas = program->grabCanvas();
    QCOMPARE(countIn(canvas, band, [](QRgb p) { return p == bandColour; }), band.width() * band.height());
    QCOMPARE(countIn(canvas, inside, [](QRgb p) { return p == hatch; }), 0);
    QCOMPARE(countIn(canvas, outerBorder, [](QRgb p) { return p == outerColour; }), 0);
    for (const QPoint &p : strokeUnder(outerBorder) + strokeUnder(inside))
        QVERIFY2(dark(canvas.pixel(p)), qPrintable(where(canvas, p.x(), p.y())));
}

QTEST_GUILESS_MAIN(TestE2eFrame)
#include "tst_e2e_frame.moc"
