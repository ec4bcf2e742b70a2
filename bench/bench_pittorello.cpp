// Measures the real window beside a floor, the least a Qt program does for the
// same work, in the same run. Prints each figure, its ratio and its budget; it
// never fails on time.
#include "FloorWindow.h"
#include "app/Application.h"
#include "app/Form1.h"
#include "app/NumberText.h"
#include "platform/FontWarmUp.h"
#include "platform/QtPlatform.h"

#include <QApplication>
#include <QDir>
#include <QPrinter>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <optional>
#include <vector>

namespace {

double monotonicNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e9 + double(t.tv_nsec);
}

long statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toLong();
    return -1;
}

// Median over batches of the mean time per operation, in nanoseconds.
double medianNs(const std::function<void(int)> &op, int perBatch, int batches = 15)
{
    std::vector<double> means;
    int i = 0;
    for (int b = 0; b < batches; ++b) {
        QElapsedTimer timer;
        timer.start();
        for (int k = 0; k < perBatch; ++k)
            op(i++);
        means.push_back(double(timer.nsecsElapsed()) / perBatch);
    }
    std::sort(means.begin(), means.end());
    return means[means.size() / 2];
}

QPoint spot(int i)
{
    return {20 + (i * 37) % 520, 20 + (i * 53) % 450};
}

// What the event loop does between two motions: posted repaints, and the
// canvas's timed flush when it is due.
void repaintNow()
{
    QCoreApplication::processEvents();
}

void report(const char *name, double value, const char *unit, double floor, double budget, bool ratioBudget,
            const char *against = "floor")
{
    const double ratio = floor > 0 ? value / floor : 0;
    const bool ok = ratioBudget ? ratio <= budget : value <= budget;
    if (floor > 0)
        std::printf("%-44s %10.2f %-3s %-7s %10.2f  ratio %5.2f  budget %s%.2f  %s\n", name, value, unit, against, floor, ratio,
                    ratioBudget ? "x" : "", budget, ok ? "ok" : "OVER");
    else
        std::printf("%-44s %10.2f %-3s %33s budget %.2f %s  %s\n", name, value, unit, "", budget, unit, ok ? "ok" : "OVER");
    std::fflush(stdout);
}

struct Session
{
    QtPlatform services;
    Form1 form{services.platform()};
    FloorWindow floor;

    Session()
    {
        form.show();
        floor.move(0, 600);
        floor.show();
        (void)QTest::qWaitForWindowExposed(&form);
        (void)QTest::qWaitForWindowExposed(&floor);
        QCoreApplication::processEvents();
    }
    Canvas *canvas() { return form.ui.canvas; }
};

void movesWithPen(Session &s, int pen, bool trail, bool held, double floorDot1)
{
    s.form.ui.VScroll1->setValue(pen);
    s.form.ui.Combo1->setEditText(trail ? QStringLiteral("Cerchio continuo SENZA Click") : QStringLiteral("Punto continuo al Clik"));
    s.floor.canvas->penWidth = pen;
    if (held) {
        QTest::mousePress(s.canvas(), Qt::LeftButton, {}, spot(0));
        QTest::mousePress(s.floor.canvas, Qt::LeftButton, {}, spot(0));
    }
    const double real = medianNs([&](int i) { QTest::mouseMove(s.canvas(), spot(i)); repaintNow(); }, 2000);
    const double floor = medianNs([&](int i) { QTest::mouseMove(s.floor.canvas, spot(i)); repaintNow(); }, 2000);
    if (held) {
        QTest::mouseRelease(s.canvas(), Qt::LeftButton, {}, spot(1));
        QTest::mouseRelease(s.floor.canvas, Qt::LeftButton, {}, spot(1));
    }
    char name[80];
    std::snprintf(name, sizeof name, "move, %s, pen %d%s", trail ? "circle trail" : "dots", pen, held ? ", button held" : "");
    if (trail)
        report(name, real / 1000, "us", floorDot1 / 1000, 2.0, true);
    else
        report(name, real / 1000, "us", floor / 1000, 1.3, true);
}

struct PaintArea : QObject
{
    long area = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            for (const QRect &r : static_cast<QPaintEvent *>(event)->region())
                area += long(r.width()) * r.height();
        return false;
    }
};

void repaintedArea(Session &s, int pen, bool trail)
{
    s.form.ui.Command3->click();
    repaintNow();
    s.form.ui.VScroll1->setValue(pen);
    s.form.ui.Combo1->setEditText(trail ? QStringLiteral("Cerchio continuo SENZA Click") : QStringLiteral("Punto continuo al Clik"));
    QTest::mousePress(s.canvas(), Qt::LeftButton, {}, {10, 10});
    PaintArea spy;
    s.canvas()->installEventFilter(&spy);
    long touched = 0;
    for (int i = 0; i < 40; ++i) {
        // Spots far apart on a blank canvas: every pixel the move writes changes.
        const QImage before = s.canvas()->image().copy();
        const QPoint p(40 + (i % 8) * 65, 40 + (i / 8) * 90);
        QTest::mouseMove(s.canvas(), p);
        QTest::qWait(5); // past the canvas's flush
        const QImage &after = s.canvas()->image();
        for (int y = std::max(0, p.y() - 30); y < std::min(after.height(), p.y() + 30); ++y)
            for (int x = std::max(0, p.x() - 30); x < std::min(after.width(), p.x() + 30); ++x)
                touched += before.pixel(x, y) != after.pixel(x, y);
    }
    QTest::mouseRelease(s.canvas(), Qt::LeftButton, {}, {10, 10});
    s.canvas()->removeEventFilter(&spy);
    char name[80];
    std::snprintf(name, sizeof name, "area repainted per move, %s, pen %d", trail ? "circle trail" : "dots", pen);
    report(name, double(spy.area) / 40, "px", double(touched) / 40, 2.0, true, "touched");
}

void commands(Session &s)
{
    const double clear = medianNs([&](int) { s.form.Command3_Click(); repaintNow(); }, 20);
    report("\"Cancella tutto\" with repaint", clear / 1e6, "ms", 0, 2.0, false);
    const double background = medianNs([&](int i) {
        s.canvas()->setBackColor(i % 2 ? Qt::yellow : Qt::white);
        repaintNow();
    }, 20);
    report("background colour with repaint", background / 1e6, "ms", 0, 2.0, false);

    s.form.ui.Combo2->setEditText(QStringLiteral("1e30"));
    const double vast = medianNs([&](int i) {
        QTest::mousePress(s.canvas(), Qt::RightButton, {}, spot(i));
        QTest::mouseRelease(s.canvas(), Qt::RightButton, {}, spot(i));
        repaintNow();
    }, 50);
    report("right-button circle of radius 1e30 twips", vast / 1e6, "ms", 0, 1.0, false);
    const double line = medianNs([&](int i) {
        s.canvas()->plotPoint(float(i % 500) * 15, 1e9f);
        s.form.Command4_Click();
        repaintNow();
    }, 50);
    report("3D line from 1e9 twips away", line / 1e6, "ms", 0, 1.0, false);

    // The longest text the fuzzer tries: reading a radius may not grow with its length squared.
    const QString digits = "0." + QString(11998, QLatin1Char('7')), blanks = QString(11999, QLatin1Char(' ')) + '1';
    for (const QString *text : {&digits, &blanks}) {
        const double read = medianNs([&](int) { (void)NumberText::leadingValue(*text); }, 50);
        report(text == &digits ? "radius text \"0.\" and 11,998 digits" : "radius text of 12,000 blanks and a digit",
               read / 1e6, "ms", 0, 1.0, false);
    }
}

void output(Session &s)
{
    s.form.ui.Command3->click();
    for (int i = 0; i < 300; ++i)
        s.canvas()->plotPoint(float(spot(i).x() * 15), float(spot(i).y() * 15));
    repaintNow();
    const double copy = medianNs([&](int) { s.form.mnuCopia_Click(); }, 5, 9);
    report("\"Copia:\" of the normal window", copy / 1e6, "ms", 0, 10.0, false);

    QtCommonDialog &dialog = static_cast<QtCommonDialog &>(s.services.platform().CommonDialog1);
    const QString pdf = QDir::temp().filePath(QStringLiteral("pittorello-bench.pdf"));
    dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
    dialog.printer()->setOutputFileName(pdf);
    Printer &printer = s.services.platform().printer;
    const double page = medianNs([&](int) {
        printer.beginJob();
        printer.printPage(s.canvas()->grab().toImage());
        printer.endJob();
    }, 3, 7);
    report("one printed page to a PDF printer", page / 1e6, "ms", 0, 100.0, false);
    QFile::remove(pdf);
}

// Start-up and memory are measured in child processes, one program each.
int startupChild(bool real)
{
    int argc = 1;
    char arg0[] = "bench";
    char *argv[] = {arg0, nullptr};
    // As the program's main does.
    std::optional<FontWarmUp> fonts;
    if (real)
        fonts.emplace();
    QApplication app(argc, argv);
    std::unique_ptr<QtPlatform> services;
    std::unique_ptr<QWidget> window;
    if (real) {
        Application::setUp(app);
        services = std::make_unique<QtPlatform>();
        fonts->wait();
        window = std::make_unique<Form1>(services->platform());
    } else {
        window = std::make_unique<FloorWindow>();
    }
    struct FirstFrame : QObject
    {
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                QMetaObject::invokeMethod(qApp, [] {
                    std::printf("%.0f %ld\n", monotonicNs(), statusKiB("VmRSS:"));
                    std::fflush(stdout);
                    qApp->exit();
                }, Qt::QueuedConnection);
            return false;
        }
    } firstFrame;
    window->installEventFilter(&firstFrame);
    window->show();
    return app.exec();
}

void startup(const QString &self)
{
    std::vector<double> times[2];
    std::vector<double> rss[2];
    for (int run = 0; run < 21; ++run)
        for (int real = 0; real < 2; ++real) {
            QProcess child;
            const double started = monotonicNs();
            child.start(self, {QStringLiteral("--startup-child"), real ? QStringLiteral("real") : QStringLiteral("bare")});
            child.waitForFinished(20000);
            const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
            if (fields.size() != 2)
                continue;
            times[real].push_back((fields[0].toDouble() - started) / 1e6);
            rss[real].push_back(fields[1].toDouble() / 1024);
        }
    for (auto *v : {&times[0], &times[1], &rss[0], &rss[1]})
        std::sort(v->begin(), v->end());
    auto median = [](const std::vector<double> &v) { return v.empty() ? 0.0 : v[v.size() / 2]; };
    report("start to first painted frame", median(times[1]), "ms", median(times[0]), 1.3, true);
    std::printf("%-44s %10.2f MiB floor %10.2f  extra %5.2f MiB  budget +10.00 MiB  %s\n", "resident memory after start",
                median(rss[1]), median(rss[0]), median(rss[1]) - median(rss[0]),
                median(rss[1]) - median(rss[0]) <= 10 ? "ok" : "OVER");
}

void stress(Session &s, int moves)
{
    s.form.ui.VScroll1->setValue(50);
    s.form.ui.Combo1->setEditText(QStringLiteral("Cerchio continuo SENZA Click"));
    QTest::mousePress(s.canvas(), Qt::LeftButton, {}, spot(0));
    QElapsedTimer timer;
    timer.start();
    for (int i = 1; i <= moves; ++i) {
        QTest::mouseMove(s.canvas(), spot(i));
        repaintNow();
        if (i % (moves / 4) == 0)
            std::printf("stress: %8d moves  %8.0f events/s  peak memory %ld KiB\n", i,
                        i / (double(timer.nsecsElapsed()) / 1e9), statusKiB("VmHWM:"));
    }
    QTest::mouseRelease(s.canvas(), Qt::LeftButton, {}, spot(0));
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--startup-child") == 0)
        return startupChild(qstrcmp(argv[2], "real") == 0);
    const bool withStress = argc >= 2 && qstrcmp(argv[1], "--stress") == 0;
    if (argc >= 2 && qstrcmp(argv[1], "--startup") == 0) {
        QCoreApplication app(argc, argv);
        startup(QCoreApplication::applicationFilePath());
        return 0;
    }

    QApplication app(argc, argv);
    Application::setUp(app);
    Session s;
    std::printf("Pittorello 1 benchmarks (medians; the floor is a bare Qt widget doing the same work)\n");
    const double floorDot1 = medianNs([&](int i) { QTest::mouseMove(s.floor.canvas, spot(i)); repaintNow(); }, 2000);
    movesWithPen(s, 1, false, true, floorDot1);
    movesWithPen(s, 50, false, true, floorDot1);
    movesWithPen(s, 1, true, false, floorDot1);
    movesWithPen(s, 1, true, true, floorDot1);
    repaintedArea(s, 1, false);
    repaintedArea(s, 50, false);
    repaintedArea(s, 1, true);
    commands(s);
    output(s);
    startup(QCoreApplication::applicationFilePath());
    if (withStress)
        stress(s, argc >= 3 ? QByteArray(argv[2]).toInt() : 1000000);
    return 0;
}
