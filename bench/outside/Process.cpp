#include "Process.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

namespace Process {

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

void sleepUntilMs(double ms)
{
    const timespec t{time_t(ms / 1000), long(ms * 1e6) % 1000000000L};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, nullptr) == EINTR) {
    }
}

void sleepMs(double ms)
{
    sleepUntilMs(nowMs() + ms);
}

pid_t spawn(const std::vector<std::string> &command)
{
    std::vector<char *> argv;
    for (const std::string &word : command)
        argv.push_back(const_cast<char *>(word.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

void stop(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        sleepMs(10);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

double cpuMs(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR *dir = opendir(tasks.c_str());
    if (!dir)
        return 0;
    double ns = 0;
    while (const dirent *task = readdir(dir)) {
        if (task->d_name[0] == '.')
            continue;
        std::ifstream schedstat(tasks + "/" + task->d_name + "/schedstat");
        double runNs = 0;
        if (schedstat >> runNs)
            ns += runNs;
    }
    closedir(dir);
    return ns / 1e6;
}

double residentMiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string field; status >> field;) {
        if (field == "VmRSS:") {
            double kib = 0;
            status >> kib;
            return kib / 1024;
        }
    }
    return 0;
}

double settle(pid_t pid, double windowMs, double limitMs)
{
    const double until = nowMs() + limitMs;
    double before = cpuMs(pid);
    for (;;) {
        sleepMs(windowMs);
        const double after = cpuMs(pid);
        if (after - before < windowMs * 0.02 || nowMs() > until)
            return after;
        before = after;
    }
}

} // namespace Process
