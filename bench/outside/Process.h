#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// What the benchmark sees of a program from outside: its CPU, memory and life.
namespace Process {

double nowMs();
void sleepMs(double ms);
void sleepUntilMs(double ms);
// Starts command with its output discarded; -1 when it cannot.
pid_t spawn(const std::vector<std::string> &command);
// Asks the program to end, kills it if it lingers, and reaps it.
void stop(pid_t pid);
// CPU time of every thread of pid so far, in milliseconds.
double cpuMs(pid_t pid);
double residentMiB(pid_t pid);
// Waits until pid spends under 2 % of a window on the CPU (its queued work is
// done) or limitMs passes; returns its CPU time at the end.
double settle(pid_t pid, double windowMs = 50, double limitMs = 5000);

} // namespace Process
