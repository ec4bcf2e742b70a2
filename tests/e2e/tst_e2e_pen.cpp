// Drawing with the pen through real X input, checked on screen: separate dots
// where the mouse moved, thickness and colour set by clicking the scroll bars,
// the right-button circle, and the File menu from the keyboard.
#include "Ink.h"
#include "Poll.h"
#include "ProgramUnderTest.h"
#include "X11Session.h"

#include <QtTest>

#include <cmath>
#include <memory>

namespace {

// Canvas positions of the controls; those in the group box are offset by its origin.
const QPoint panel(568, 0);
const QRect thicknessBar = QRect(16, 328, 201, 65).translated(panel);
const QRect colourBars[3] = {QRect(16, 424, 161, 27).translated(panel),
                             QRect(16, 448, 161, 25).translated(panel),
                             QRect(16, 472, 161, 25).translated(panel)};
const QRect colourLabels[3] = {QRect(184, 424, 33, 23).translated(panel),
                               QRect(184, 448, 33, 23).translated(panel),
                               QRect(184, 472, 33, 23).translated(panel)};
const QRect thicknessLabel = QRect(120, 296, 33, 25).translated(panel);
const QRect whiteButton = QRect(16, 56, 201, 33).translated(panel);
const QRect blackButton = QRect(16, 88, 201, 33).translated(panel);
const QRect radiusCombo = QRect(152, 264, 65, 21).translated(panel);
// The drawing area, less the comment box along its bottom edge.
const QRect paper(0, 0, 568, 460);
// A stroke drawn after the one under test: once its dot shows, every event
// sent before it has been handled, so what is missing is really missing.
const QPoint barrierPress(20, 440), barrierDot(30, 440);

const int timeoutMs = 10000;

QPoint arrowEnd(const QRect &bar, Qt::Edge end)
{
    switch (end) {
    case Qt::TopEdge: return QPoint(bar.center().x(), bar.top() + 4);
    case Qt::BottomEdge: return QPoint(bar.center().x(), bar.bottom() - 4);
    case Qt::LeftEdge: return QPoint(bar.left() + 4, bar.center().y());
    case Qt::RightEdge: return QPoint(bar.right() - 4, bar.center().y());
    }
    return {};
}

// The glyphs in a label, cut to their bounding box, independent of the label's
// colours: labels showing the same number give the same mask.
QImage textMask(const QImage &label)
{
    QHash<QRgb, int> count;
    for (int y = 0; y < label.height(); ++y)
        for (int x = 0; x < label.width(); ++x)
            ++count[label.pixel(x, y)];
    QRgb background = 0;
    for (auto it = count.cbegin(); it != count.cend(); ++it)
        if (it.value() > count.value(background))
            background = it.key();
    QImage mask(label.size(), QImage::Format_Grayscale8);
    QRect box;
    for (int y = 0; y < label.height(); ++y)
        for (int x = 0; x < label.width(); ++x) {
            const bool text = label.pixel(x, y) != background;
            mask.setPixel(x, y, text ? 0 : 255);
            if (text)
                box |= QRect(x, y, 1, 1);
        }
    return mask.copy(box);
}

QString pointText(QPoint p)
{
    return QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y());
}

} // namespace

class TestE2ePen : public QObject {
    Q_OBJECT

private:
    X11Session m_session;
    std::unique_ptr<ProgramUnderTest> m_program;
    QImage m_start; // the canvas as the program came up

    QImage canvas() const { return m_program->grabCanvas(); }

    // Press at from, move through each point waiting for its dot, release.
    bool stroke(QPoint from, const QList<QPoint> &moves, int button = 1, double dotRadius = 1.5)
    {
        if (!m_program->moveTo(from) || !m_program->press(button))
            return false;
        for (const QPoint &p : moves) {
            // One move at a time: motion events queued together would be merged.
            if (!m_program->moveTo(p))
                return false;
            if (!pollUntil([&] { return Ink::near(canvas(), p, dotRadius).has_value(); }, timeoutMs)) {
                QTest::qFail(qPrintable("no dot appeared at " + pointText(p)), __FILE__, __LINE__);
                return false;
            }
        }
        return m_program->release(button);
    }

    bool barrier() { return stroke(barrierPress, {barrierDot}); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_session.start());
    }

    void init()
    {
        m_program = std::make_unique<ProgramUnderTest>(m_session);
        QVERIFY(m_program->start());
        QCOMPARE(m_program->clientRect().width(), ProgramUnderTest::canvasSize.width());
        QVERIFY(m_program->clientRect().height() > ProgramUnderTest::canvasSize.height());
        QVERIFY(m_program->activate());
        // Blank paper means the canvas is painted and found where expected.
        QVERIFY(pollUntil([&] {
            m_start = canvas();
            return !m_start.isNull() && Ink::pixels(m_start, paper).isEmpty();
        }, timeoutMs));
    }

    void cleanup()
    {
        QVERIFY2(m_program->isRunning(), qPrintable(m_program->exitDescription()));
        m_program.reset();
    }

    void dotsWhereTheMouseMoved_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QList<QPoint>>("moves");

        QTest::newRow("horizontal") << QPoint(60, 60) << QList<QPoint>{{100, 60}, {140, 60}, {180, 60}};
        QTest::newRow("diagonal") << QPoint(250, 100) << QList<QPoint>{{280, 130}, {310, 160}, {340, 190}};
        QTest::newRow("back and forth")
            << QPoint(400, 300) << QList<QPoint>{{450, 300}, {400, 340}, {450, 380}, {400, 420}};
        QTest::newRow("single move") << QPoint(300, 250) << QList<QPoint>{{301, 270}};
        QTest::newRow("press and release only") << QPoint(200, 300) << QList<QPoint>{};
    }

    void dotsWhereTheMouseMoved()
    {
        QFETCH(QPoint, press);
        QFETCH(QList<QPoint>, moves);

        QVERIFY(stroke(press, moves));
        QVERIFY(barrier());
        const QImage image = canvas();

        for (const QPoint &p : moves) {
            const auto dot = Ink::near(image, p, 1.5);
            QVERIFY2(dot, qPrintable("no dot at " + pointText(p)));
            QCOMPARE(QColor(image.pixel(*dot)), QColor(Qt::black));
        }
        QVERIFY2(!Ink::near(image, press, 3), "the press point alone must not draw");
        // Only the dots: nothing joins them, nothing else appears.
        const QList<QPoint> stray = Ink::awayFrom(image, paper, moves + QList<QPoint>{barrierDot}, 1.5);
        QVERIFY2(stray.isEmpty(), qPrintable("ink away from the dots at " + pointText(stray.value(0))));
    }

    void releaseOutsideTheWindowLiftsThePen()
    {
        // Below the window: the release happens where no window of the program is.
        const QPoint outside(200, ProgramUnderTest::canvasSize.height() + 60);
        QVERIFY(m_program->moveTo({100, 100}) && m_program->press());
        QVERIFY(m_program->moveTo({150, 100}));
        QVERIFY(pollUntil([&] { return Ink::near(canvas(), {150, 100}, 1.5).has_value(); }, timeoutMs));
        QVERIFY(m_program->moveTo(outside) && m_program->release());
        for (const QPoint &p : {QPoint(200, 200), QPoint(260, 200), QPoint(320, 200)})
            QVERIFY(m_program->moveTo(p));
        QVERIFY(barrier());
        const QImage image = canvas();
        const QList<QPoint> stray = Ink::awayFrom(image, paper, {QPoint(150, 100), barrierDot}, 1.5);
        QVERIFY2(stray.isEmpty(), qPrintable("the pen stayed down: ink at " + pointText(stray.value(0))));
    }

    void thicknessFromScrollBarClicks_data()
    {
        QTest::addColumn<int>("arrow"); // Qt::Edge of the thickness bar
        QTest::addColumn<int>("clicks");
        QTest::addColumn<int>("width");

        QTest::newRow("starts at 1") << int(Qt::BottomEdge) << 0 << 1;
        QTest::newRow("down 4 times") << int(Qt::BottomEdge) << 4 << 5;
        QTest::newRow("down 11 times") << int(Qt::BottomEdge) << 11 << 12;
        QTest::newRow("up at the minimum") << int(Qt::TopEdge) << 3 << 1;
        QTest::newRow("down past the maximum") << int(Qt::BottomEdge) << 60 << 50;
    }

    void thicknessFromScrollBarClicks()
    {
        QFETCH(int, arrow);
        QFETCH(int, clicks);
        QFETCH(int, width);

        if (clicks > 0)
            QVERIFY(m_program->click(arrowEnd(thicknessBar, Qt::Edge(arrow)), clicks));
        const QList<QPoint> moves{{150, 200}, {300, 200}};
        const double radius = width / 2.0;
        QVERIFY(stroke(QPoint(60, 320), moves, 1, radius + 1));
        QVERIFY(barrier());
        const QImage image = canvas();

        QCOMPARE(image.copy(thicknessLabel) != m_start.copy(thicknessLabel), width != 1);
        for (const QPoint &p : moves) {
            const int reach = width / 2 + 4;
            const QRect box = Ink::bounds(image, QRect(p - QPoint(reach, reach), p + QPoint(reach, reach)));
            QVERIFY2(std::abs(box.width() - width) <= 1 && std::abs(box.height() - width) <= 1,
                     qPrintable(QStringLiteral("dot at %1 is %2x%3").arg(pointText(p)).arg(box.width()).arg(box.height())));
            QVERIFY(std::abs(box.center().x() - p.x()) <= 1 && std::abs(box.center().y() - p.y()) <= 1);
            if (width >= 5) { // round, not square
                for (const QPoint &corner : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()})
                    QVERIFY2(!Ink::isInk(image.pixel(corner)), qPrintable("corner " + pointText(corner)));
            }
        }
        const QList<QPoint> stray = Ink::awayFrom(image, paper, moves + QList<QPoint>{barrierDot}, radius + 1.5);
        QVERIFY2(stray.isEmpty(), qPrintable("ink away from the dots at " + pointText(stray.value(0))));
    }

    void colourFromScrollBarClicks_data()
    {
        QTest::addColumn<bool>("whiteFirst");
        QTest::addColumn<int>("bar");
        QTest::addColumn<QPoint>("where");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QColor>("expected");

        const QPoint right = arrowEnd(colourBars[0], Qt::RightEdge) - colourBars[0].topLeft();
        const QPoint left = arrowEnd(colourBars[0], Qt::LeftEdge) - colourBars[0].topLeft();
        // Well right of the handle while the value is small.
        const QPoint track(colourBars[0].width() * 3 / 4, colourBars[0].height() / 2);

        QTest::newRow("red, right arrow") << false << 0 << right << 5 << QColor(5, 0, 0);
        QTest::newRow("green, right arrow") << false << 1 << right << 3 << QColor(0, 3, 0);
        QTest::newRow("blue, track") << false << 2 << track << 4 << QColor(0, 0, 4);
        QTest::newRow("red, left arrow at 0") << false << 0 << left << 3 << QColor(0, 0, 0);
        QTest::newRow("white, then red down") << true << 0 << left << 6 << QColor(249, 255, 255);
        QTest::newRow("white, then blue up") << true << 2 << right << 2 << QColor(255, 255, 255);
    }

    void colourFromScrollBarClicks()
    {
        QFETCH(bool, whiteFirst);
        QFETCH(int, bar);
        QFETCH(QPoint, where);
        QFETCH(int, clicks);
        QFETCH(QColor, expected);

        // A black dot first, so that a white one drawn over it shows.
        const QPoint dot(200, 150);
        QVERIFY(stroke(QPoint(150, 150), {dot}));
        if (whiteFirst)
            QVERIFY(m_program->click(whiteButton.center()));
        QVERIFY(m_program->click(colourBars[bar].topLeft() + where, clicks));
        QVERIFY(m_program->moveTo(QPoint(150, 150)) && m_program->press());
        QVERIFY(m_program->moveTo(dot) && m_program->release());
        if (expected != QColor(Qt::white))
            QVERIFY(barrier());
        QImage image;
        QVERIFY2(pollUntil([&] { return QColor((image = canvas()).pixel(dot)) == expected; }, timeoutMs),
                 qPrintable(QStringLiteral("dot is %1").arg(QColor(image.pixel(dot)).name())));

        const int channel[3] = {expected.red(), expected.green(), expected.blue()};
        for (int i = 0; i < 3; ++i)
            QCOMPARE(image.copy(colourLabels[i]) != m_start.copy(colourLabels[i]), channel[i] != 0);
    }

    void colourLabelsShowTheValue_data()
    {
        QTest::addColumn<int>("clicks");
        QTest::newRow("1") << 1;
        QTest::newRow("7") << 7;
        QTest::newRow("10") << 10;
        QTest::newRow("42") << 42;
    }

    void colourLabelsShowTheValue()
    {
        QFETCH(int, clicks);

        for (const QRect &bar : colourBars)
            QVERIFY(m_program->click(arrowEnd(bar, Qt::RightEdge), clicks));
        const QPoint dot(200, 150);
        QVERIFY(stroke(QPoint(150, 150), {dot}));
        const QImage image = canvas();

        const auto found = Ink::near(image, dot, 1.5);
        QVERIFY(found);
        QCOMPARE(QColor(image.pixel(*found)), QColor(clicks, clicks, clicks));
        // Three labels in three colours, one number: the same glyphs, not the start's.
        const QImage red = textMask(image.copy(colourLabels[0]));
        QVERIFY(red != textMask(m_start.copy(colourLabels[0])));
        QCOMPARE(textMask(image.copy(colourLabels[1])), red);
        QCOMPARE(textMask(image.copy(colourLabels[2])), red);
    }

    void blackButtonResetsTheColour()
    {
        QVERIFY(m_program->click(arrowEnd(colourBars[0], Qt::RightEdge), 5));
        QVERIFY(m_program->click(arrowEnd(colourBars[2], Qt::RightEdge), 9));
        QVERIFY(m_program->click(blackButton.center()));
        const QPoint dot(200, 150);
        QVERIFY(stroke(QPoint(150, 150), {dot}));
        const QImage image = canvas();

        const auto found = Ink::near(image, dot, 1.5);
        QVERIFY(found);
        QCOMPARE(QColor(image.pixel(*found)), QColor(Qt::black));
        for (const QRect &label : colourLabels)
            QCOMPARE(textMask(image.copy(label)), textMask(m_start.copy(label)));
    }

    void rightButtonDrawsCircle_data()
    {
        QTest::addColumn<QString>("radiusText"); // empty: as the program starts
        QTest::addColumn<double>("radius");      // pixels

        QTest::newRow("100 twips at start") << QString() << 100 / 15.0;
        QTest::newRow("300 twips typed") << QStringLiteral("300") << 20.0;
        QTest::newRow("600 twips typed") << QStringLiteral("600") << 40.0;
    }

    void rightButtonDrawsCircle()
    {
        QFETCH(QString, radiusText);
        QFETCH(double, radius);

        if (!radiusText.isEmpty()) {
            QVERIFY(m_program->click(QPoint(radiusCombo.left() + 20, radiusCombo.center().y())));
            QVERIFY(m_program->key("ctrl+a"));
            QVERIFY(m_program->type(radiusText));
        }
        const QPoint centre(250, 200);
        QVERIFY(m_program->moveTo(centre));
        QVERIFY(m_program->press(3));
        QVERIFY(m_program->release(3));
        QVERIFY(barrier());
        const QImage image = canvas();

        for (int degrees = 0; degrees < 360; degrees += 15) {
            const double a = qDegreesToRadians(double(degrees));
            bool onRing = false;
            for (double r = radius - 1.5; r <= radius + 1.5 && !onRing; r += 0.5) {
                const QPoint p = centre + QPoint(qRound(r * std::cos(a)), qRound(r * std::sin(a)));
                onRing = Ink::isInk(image.pixel(p)) && QColor(image.pixel(p)) == QColor(Qt::black);
            }
            QVERIFY2(onRing, qPrintable(QStringLiteral("no black ring at %1 degrees").arg(degrees)));
        }
        QVERIFY2(!Ink::near(image, centre, radius - 2.5), "the circle is not filled");
        const QList<QPoint> stray = Ink::awayFrom(image, paper, {centre, barrierDot}, radius + 1.5);
        QVERIFY2(stray.isEmpty(), qPrintable("ink off the circle at " + pointText(stray.value(0))));
    }

    void altFOpensTheFileMenu()
    {
        const qint64 pid = m_program->pid();
        QCOMPARE(m_session.visibleWindows(pid).size(), 1);
        QVERIFY(m_program->key("alt+f"));
        QStringList windows;
        QVERIFY(pollUntil([&] { return (windows = m_session.visibleWindows(pid)).size() == 2; }, timeoutMs));
        windows.removeAll(m_program->windowId());
        QCOMPARE(windows.size(), 1);

        // It drops from the left end of the menu bar.
        const auto popup = m_session.clientGeometry(windows.first());
        QVERIFY(popup);
        const QRect client = m_program->clientRect();
        const int menuBarBottom = m_program->canvasRect().top();
        QVERIFY2(std::abs(popup->left() - client.left()) <= 8 && std::abs(popup->top() - menuBarBottom) <= 4,
                 qPrintable(QStringLiteral("menu at %1,%2").arg(popup->left()).arg(popup->top())));
        QVERIFY(popup->height() >= 4 * 16); // four items

        // Its first item, "Copia:", is greyed: no text as dark as an enabled item's.
        const QImage menu = m_session.screenshot().copy(popup->adjusted(2, 2, -2, -2));
        QList<int> darkest; // per band of rows holding anything but the background
        const QRgb background = menu.pixel(menu.width() - 2, 1);
        bool inBand = false;
        for (int y = 0; y < menu.height(); ++y) {
            int rowDarkest = 256;
            for (int x = 0; x < menu.width(); ++x)
                if (menu.pixel(x, y) != background)
                    rowDarkest = std::min(rowDarkest, qGray(menu.pixel(x, y)));
            if (rowDarkest < 256 && !inBand)
                darkest.append(rowDarkest);
            else if (rowDarkest < 256)
                darkest.last() = std::min(darkest.last(), rowDarkest);
            inBand = rowDarkest < 256;
        }
        QVERIFY2(darkest.size() >= 4, qPrintable(QStringLiteral("%1 bands").arg(darkest.size())));
        QVERIFY2(darkest.first() > 100, qPrintable(QStringLiteral("first item darkest %1").arg(darkest.first())));
        QVERIFY(*std::min_element(darkest.cbegin(), darkest.cend()) < 60);

        QVERIFY(m_program->key("Escape"));
        QVERIFY(pollUntil([&] { return m_session.visibleWindows(pid).size() == 1; }, timeoutMs));
    }
};

QTEST_GUILESS_MAIN(TestE2ePen)
#include "tst_e2e_pen.moc"
