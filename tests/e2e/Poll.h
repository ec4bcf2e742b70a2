#pragma once

#include <QDeadlineTimer>
#include <QThread>

// Retries cond until it holds or timeoutMs passes; true when it held. The
// condition is always tried once more at the deadline, so a slow machine that
// got there just in time still passes.
template <typename Condition>
bool pollUntil(Condition cond, int timeoutMs, int stepMs = 40)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (cond())
            return true;
        QThread::msleep(stepMs);
    }
    return cond();
}
