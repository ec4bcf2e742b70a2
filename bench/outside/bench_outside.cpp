// Drives programs from outside, as a user would, on the X display it is given,
// and prints their figures as tab-separated lines.
//
// bench_outside --starts N -- command... [-- command...]...
//   Start to first frame and resident memory after start: the programs take
//   turns, N starts each, so a change in the machine's load falls on all alike.
//   One line a program: median ms, median MiB.
// bench_outside [--ink] [--key KEYSYM] [--server PID] -- command...
//   Drawing, one line: at each rate, CPU per 1,000 drawing motions (ms) of the
//   program and of the X server (--server), and the ink pixels that appeared
//   per motion; then, with --ink, ink latency (ms) median, p90, max and the
//   dots that never showed. --key presses a key once the window shows (e.g. to
//   pick a paint tool).
// A figure it cannot take prints as "-". It never fails on time.
#include "Desktop.h"
#include "Measures.h"
#include "Process.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const std::vector<int> Rates = {2000, 8000};
constexpr int Spots = 300;

struct Options
{
    bool ink = false;
    const char *key = nullptr;
    pid_t server = 0;
    int starts = 0;
    std::vector<std::vector<std::string>> commands;
};

Options parse(int argc, char *argv[])
{
    Options options;
    int i = 1;
    for (; i < argc && std::string(argv[i]) != "--"; ++i) {
        const std::string flag = argv[i];
        if (flag == "--ink") {
            options.ink = true;
            continue;
        }
        const char *value = i + 1 < argc ? argv[++i] : "";
        if (flag == "--key")
            options.key = value;
        else if (flag == "--server")
            options.server = std::atoi(value);
        else if (flag == "--starts")
            options.starts = std::atoi(value);
    }
    for (; i < argc; ++i) {
        if (std::string(argv[i]) == "--")
            options.commands.emplace_back();
        else
            options.commands.back().push_back(argv[i]);
    }
    return options;
}

void print(double value)
{
    if (std::isnan(value))
        std::printf("\t-");
    else
        std::printf("\t%.2f", value);
}

void startUp(Desktop &desktop, const Options &options)
{
    std::vector<std::vector<double>> starts(options.commands.size()), memory(options.commands.size());
    for (int i = 0; i < options.starts; ++i) {
        for (size_t p = 0; p < options.commands.size(); ++p) {
            const Run run = launch(desktop, options.commands[p]);
            if (!std::isnan(run.startMs)) {
                starts[p].push_back(run.startMs);
                Process::settle(run.pid, 100);
                memory[p].push_back(Process::residentMiB(run.pid));
            }
            if (run.pid > 0)
                Process::stop(run.pid);
            Process::sleepMs(100);
        }
    }
    for (size_t p = 0; p < options.commands.size(); ++p) {
        print(quantile(starts[p], 0.5));
        print(quantile(memory[p], 0.5));
        std::printf("\n");
    }
}

void drawing(Desktop &desktop, const Options &options)
{
    std::vector<Cost> costs(Rates.size());
    std::vector<double> latencies;
    int missed = 0;
    const Run run = launch(desktop, options.commands.front());
    if (!std::isnan(run.startMs)) {
        Process::settle(run.pid, 100);
        if (options.key) {
            desktop.key(options.key);
            Process::settle(run.pid, 100);
        }
        const Rect area = desktop.largestWhite(run.window);
        if (options.ink)
            inkLatency(desktop, area, Spots, latencies, missed);
        costs = strokeCost(desktop, run, area, options.server, Rates);
    }
    if (run.pid > 0)
        Process::stop(run.pid);

    for (const Cost &cost : costs)
        for (const double value : {cost.program, cost.server, cost.ink})
            print(value);
    for (const double q : {0.5, 0.9, 1.0})
        print(quantile(latencies, q));
    if (options.ink)
        std::printf("\t%d\n", missed);
    else
        std::printf("\t-\n");
}

} // namespace

int main(int argc, char *argv[])
{
    const Options options = parse(argc, argv);
    Desktop desktop;
    bool commands = !options.commands.empty();
    for (const auto &command : options.commands)
        commands = commands && !command.empty();
    if (!commands || !desktop.ok() || (options.starts == 0 && options.commands.size() != 1)) {
        std::fprintf(stderr, "usage: bench_outside --starts N -- command... [-- command...]...\n"
                             "       bench_outside [--ink] [--key KEYSYM] [--server PID] -- command...\n"
                             "on an X display with XTest and a window manager\n");
        return 2;
    }
    if (options.starts > 0)
        startUp(desktop, options);
    else
        drawing(desktop, options);
    return 0;
}
