#pragma once

#include "Desktop.h"

#include <cmath>
#include <string>
#include <vector>

// What one program shows of itself from outside, through the desktop alone.

double quantile(std::vector<double> values, double q);

struct Run
{
    pid_t pid = -1;
    Rect window;
    double startMs = NAN;
};

// Starts command and waits for its first frame; startMs stays NaN when none comes.
Run launch(Desktop &desktop, const std::vector<std::string> &command);

// Ink latency at up to spots fresh white spots of area: the times (ms) from a
// motion to its dot on the screen, and how many dots never showed.
void inkLatency(Desktop &desktop, const Rect &area, int spots, std::vector<double> &latencies, int &missed);

// Per 1,000 drawing motions at one rate, medians over bursts: the CPU time (ms)
// of the program and of the X server (NaN without its pid), and the ink
// pixels that appeared per motion.
struct Cost
{
    int rate = 0;
    double program = NAN, server = NAN, ink = NAN;
};
// One stroke with the button held through five bursts of 2,000 motions at each
// rate in turn: it goes on from burst to burst, so a cost that grows with the
// stroke shows. BENCH_OUTSIDE_BURSTS=1 in the environment prints every burst.
std::vector<Cost> strokeCost(Desktop &desktop, const Run &run, const Rect &area, pid_t server,
                             const std::vector<int> &rates);
