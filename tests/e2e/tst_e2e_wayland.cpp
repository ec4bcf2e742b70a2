// The program on Wayland: weston runs inside the private X display (its X11
// backend gives it a seat, which the clipboard needs; the headless backend has
// none), and the program talks to weston alone, with no X display to fall back
// on. xdotool's input reaches it through weston. "Copia:" must put on the
// Wayland clipboard what weston shows of the window, drawing included, taken
// from the window's own rendering since Wayland allows no screen grab.
#include "ChildProcess.h"
#include "Ink.h"
#include "Poll.h"
#include "X11Session.h"

#include <QDir>
#include <QRegularExpression>
#include <QtTest>

namespace {

const int timeoutMs = 20000;
const QString socketName = QStringLiteral("wayland-pittorello");

// Where needle lies in haystack, pixel for pixel.
std::optional<QPoint> locate(const QImage &haystack, const QImage &needle)
{
    const auto same = [&](int ox, int oy) {
        for (int y = 0; y < needle.height(); ++y)
            for (int x = 0; x < needle.width(); ++x)
                if ((haystack.pixel(ox + x, oy + y) & 0xffffff) != (needle.pixel(x, y) & 0xffffff))
                    return false;
        return true;
    };
    for (int oy = 0; oy + needle.height() <= haystack.height(); ++oy)
        for (int ox = 0; ox + needle.width() <= haystack.width(); ++ox)
            if (same(ox, oy))
                return QPoint(ox, oy);
    return std::nullopt;
}

int whitePixels(const QImage &image)
{
    return image.width() * image.height() - Ink::pixels(image, image.rect()).size();
}

} // namespace

class TestE2eWayland : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void drawsAndCopiesToTheWaylandClipboard();

private:
    bool key(const QString &keys);
    bool pointer(QPoint p, const QString &button = QString());
    QImage output() const;
    QImage copied(const QImage &previous);

    std::unique_ptr<X11Session> session;
    std::unique_ptr<ChildProcess> weston;
    std::unique_ptr<ChildProcess> program;
    QProcessEnvironment wayland;
    QRect outputArea;
};

void TestE2eWayland::initTestCase()
{
    session = std::make_unique<X11Session>();
    QVERIFY(session->start(1280, 1024));
    weston = std::make_unique<ChildProcess>(QStringLiteral("weston"));
    const QString runtime = session->environment().value("XDG_RUNTIME_DIR");
    QVERIFY(weston->start("weston", {"--backend=x11-backend.so", "--use-pixman", "--no-config", "--idle-time=0",
                                     "--socket=" + socketName, "--width=1024", "--height=768"},
                          session->environment(), {QDir(runtime).filePath("weston.log")}));
    QVERIFY2(pollUntil([&] { return QFile::exists(QDir(runtime).filePath(socketName)); }, timeoutMs),
             qPrintable(weston->exitDescription()));
    // weston's window carries no pid, and xdotool does not find it by name.
    QString window;
    QVERIFY(pollUntil([&] {
        const QString tree = session->run("xwininfo", {"-root", "-tree"}).stdOut();
        window = QRegularExpression("(0x[0-9a-f]+) \"Weston Compositor").match(tree).captured(1);
        return !window.isEmpty();
    }, timeoutMs));
    QVERIFY(session->activate(window));
    const auto area = session->clientGeometry(window);
    QVERIFY(area);
    outputArea = *area;
    // weston's X11 backend takes the pointer's place on entering its window and
    // then follows motion relatively; Xvfb starts the pointer inside, where
    // weston would never learn it. Take it out, so that the first move enters.
    QVERIFY(session->xdotool({"mousemove", "0", "0"}));

    // Nothing of X11 is within the program's reach.
    wayland = session->environment();
    wayland.remove("DISPLAY");
    wayland.insert("WAYLAND_DISPLAY", socketName);
    wayland.insert("QT_QPA_PLATFORM", "wayland");
    // weston draws no decorations of its own; without Qt's, the window is its client area.
    wayland.insert("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1");
    program = std::make_unique<ChildProcess>(QStringLiteral("pittorello"));
    QVERIFY(program->start(PITTORELLO_EXE, {}, wayland, {QDir(runtime).filePath("pittorello.log")}));
    // Its drawing area, 568 x 506 of white, shows on weston's output. weston
    // gives a new window the keyboard, and tells it so before any key the test sends.
    QVERIFY2(pollUntil([&] { return whitePixels(output()) > 250000; }, timeoutMs), qPrintable(program->exitDescription()));
}

void TestE2eWayland::cleanupTestCase()
{
    program.reset();
    weston.reset();
    session.reset();
}

// Every key the test sends opens or closes a menu, or resizes the window:
// done once weston shows a change, since xdotool does not wait for the round trip.
bool TestE2eWayland::key(const QString &keys)
{
    const QImage before = output();
    if (!session->xdotool({"key", "--clearmodifiers", keys}))
        return false;
    if (pollUntil([&] { return output() != before; }, timeoutMs))
        return true;
    QTest::qFail(qPrintable("nothing changed on weston's output after " + keys), __FILE__, __LINE__);
    return false;
}

bool TestE2eWayland::pointer(QPoint p, const QString &button)
{
    const QPoint screen = outputArea.topLeft() + p;
    // No --sync: xdotool would wait forever for a move to where the pointer already is.
    // One X connection per call, flushed on exit, keeps the events in order.
    QStringList args{"mousemove", QString::number(screen.x()), QString::number(screen.y())};
    if (!button.isEmpty())
        args << button << "1";
    return session->xdotool(args).has_value();
}

QImage TestE2eWayland::output() const
{
    const QImage screen = session->screenshot();
    return screen.isNull() ? screen : screen.copy(outputArea);
}

// "Copia:" from the File menu, then the image as another Wayland client pastes
// it, once it differs from the previous copy. wl-paste takes the keyboard
// (weston hands the clipboard only to a focused client) and weston does not
// give it back: it is never run between the keys of a command.
QImage TestE2eWayland::copied(const QImage &previous)
{
    if (!key("alt+f") || !key("Return"))
        return {};
    QImage image;
    CommandResult r;
    const QStringList args{"--type", "image/png"};
    pollUntil([&] {
        r = runCommand("wl-paste", args, wayland);
        return r.ok() && image.loadFromData(r.out, "PNG")
            && (image = image.convertToFormat(QImage::Format_RGB32)) != previous;
    }, timeoutMs, 200);
    if (image.isNull() || image == previous) {
        QTest::qFail(qPrintable("no new image on the clipboard: " + r.describe("wl-paste", args)), __FILE__, __LINE__);
        return {};
    }
    return image;
}

void TestE2eWayland::drawsAndCopiesToTheWaylandClipboard()
{
    // The print preview enables "Copia:" and narrows the window to its print size.
    QVERIFY(key("alt+v"));
    QVERIFY(key("a"));
    const QImage first = copied({});
    QCOMPARE(first.size(), QSize(573, 550));

    // Find the window on weston's output by its menu bar, then draw across it.
    const QImage shown = output();
    const auto at = locate(shown, first.copy(0, 0, 160, 16));
    QVERIFY2(at, "the copied menu bar is nowhere on weston's output");
    const QRect window(*at, first.size());
    const QRect stroke(window.topLeft() + QPoint(150, 200), QSize(240, 100));
    QVERIFY(Ink::pixels(shown, stroke).isEmpty());
    QVERIFY(pointer(stroke.topLeft()));
    QVERIFY(pointer(stroke.topLeft(), "mousedown"));
    QList<QPoint> moves;
    for (int x = 12; x <= stroke.width(); x += 12)
        moves << stroke.topLeft() + QPoint(x, x * stroke.height() / stroke.width());
    for (const QPoint &p : moves)
        QVERIFY(pointer(p));
    QVERIFY(pointer(stroke.bottomRight(), "mouseup"));
    // weston draws its pointer over the output: park it on the empty middle of
    // its panel, clear of the launcher and of any window.
    QVERIFY(pointer({outputArea.width() / 2, 4}));
    QTRY_VERIFY_WITH_TIMEOUT(Ink::pixels(output(), stroke).size() > 15, timeoutMs);

    // Pressing the mouse gave the window the keyboard back.
    const QImage second = copied(first);
    QCOMPARE(second.size(), first.size());
    const QImage onOutput = output().copy(window);
    int differing = 0;
    for (int y = 0; y < second.height(); ++y)
        for (int x = 0; x < second.width(); ++x)
            differing += (second.pixel(x, y) & 0xffffff) != (onOutput.pixel(x, y) & 0xffffff);
    QCOMPARE(differing, 0);
    // A dot wherever the mouse moved with the button down.
    for (const QPoint &p : moves)
        QVERIFY2(Ink::near(second, p - window.topLeft(), 2), qPrintable(QStringLiteral("no dot at %1,%2").arg(p.x()).arg(p.y())));
    QVERIFY2(program->isRunning(), qPrintable(program->exitDescription()));
}

QTEST_GUILESS_MAIN(TestE2eWayland)
#include "tst_e2e_wayland.moc"
