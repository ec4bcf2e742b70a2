#include "Measures.h"

#include "Process.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int Motions = 2000;
constexpr int Bursts = 5;

// A stroke back and forth down the area, two pixels a motion, as a hand draws.
void strokeTo(Desktop &desktop, const Rect &area, int i)
{
    const int perRow = std::max(1, (area.w - 16) / 2), rows = std::max(1, (area.h - 16) / 3);
    const int row = i / perRow, k = i % perRow;
    desktop.moveTo(area.x + 8 + 2 * (row % 2 ? perRow - 1 - k : k), area.y + 8 + 3 * (row % rows));
}

// Each burst is counted once the program has worked off all of its motions;
// the screen is read for ink outside the counted windows.
Cost burstCost(Desktop &desktop, const Run &run, const Rect &area, pid_t server, int rate, int &step)
{
    std::vector<double> own, served, ink;
    long inked = desktop.inked(area);
    for (int burst = 0; burst < Bursts; ++burst) {
        const double cpu = Process::cpuMs(run.pid), serverCpu = Process::cpuMs(server);
        const double start = Process::nowMs();
        for (int k = 0; k < Motions; ++k) {
            Process::sleepUntilMs(start + k * 1000.0 / rate);
            strokeTo(desktop, area, ++step);
        }
        desktop.sync();
        own.push_back((Process::settle(run.pid) - cpu) * 1000 / Motions);
        served.push_back((Process::cpuMs(server) - serverCpu) * 1000 / Motions);
        const long inkedNow = desktop.inked(area);
        ink.push_back(double(inkedNow - inked) / Motions);
        inked = inkedNow;
        if (std::getenv("BENCH_OUTSIDE_BURSTS"))
            std::fprintf(stderr, "%d/s burst %d: %.1f ms program, %.1f ms server per 1k, %.2f ink px a motion\n", rate,
                         burst + 1, own.back(), served.back(), ink.back());
    }
    return {rate, quantile(own, 0.5), server > 0 ? quantile(served, 0.5) : NAN, quantile(ink, 0.5)};
}

} // namespace

double quantile(std::vector<double> values, double q)
{
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    return values[size_t(std::lround(q * double(values.size() - 1)))];
}

// Every program here opens on a white canvas under the window's centre: the
// first frame has come when that pixel turns white.
Run launch(Desktop &desktop, const std::vector<std::string> &command)
{
    Run run;
    const double started = Process::nowMs();
    run.pid = Process::spawn(command);
    while (run.pid > 0 && Process::nowMs() - started < 10000) {
        run.window = desktop.windowOf(run.pid);
        const Rect &w = run.window;
        if (!w.empty() && desktop.pixel(w.x + w.w / 2, w.y + w.h / 2) == White) {
            run.startMs = Process::nowMs() - started;
            break;
        }
        Process::sleepMs(w.empty() ? 1 : 0.2);
    }
    return run;
}

// Each dot on fresh white, rows up from the foot of the area (the strokes go
// down from its top): the pen goes down a few pixels to the left, then one
// motion with the button held reaches the spot, polled until it changes.
void inkLatency(Desktop &desktop, const Rect &area, int spots, std::vector<double> &latencies, int &missed)
{
    const int columns = std::max(1, (area.w - 16) / 12);
    for (int i = 0; i < spots; ++i) {
        const int x = area.x + 8 + 12 * (i % columns), y = area.y + area.h - 8 - 12 * (i / columns);
        if (y < area.y + 8)
            break;
        desktop.moveTo(x - 4, y);
        desktop.button(true);
        desktop.sync();
        Process::sleepMs(10);
        const unsigned before = desktop.pixel(x, y);
        const double sent = Process::nowMs();
        desktop.moveTo(x, y);
        double seen = NAN;
        while (std::isnan(seen) && Process::nowMs() - sent < 500)
            if (desktop.pixel(x, y) != before)
                seen = Process::nowMs() - sent;
        if (std::isnan(seen))
            ++missed;
        else
            latencies.push_back(seen);
        desktop.button(false);
    }
}

std::vector<Cost> strokeCost(Desktop &desktop, const Run &run, const Rect &area, pid_t server,
                             const std::vector<int> &rates)
{
    int step = 0;
    strokeTo(desktop, area, step);
    desktop.button(true);
    desktop.sync();
    Process::settle(run.pid);
    std::vector<Cost> costs;
    for (const int rate : rates)
        costs.push_back(burstCost(desktop, run, area, server, rate, step));
    desktop.button(false);
    desktop.sync();
    return costs;
}
