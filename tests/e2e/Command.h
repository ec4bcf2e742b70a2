#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Outcome of a short-lived tool run to completion (xdotool, xwininfo, lpstat...).
struct CommandResult {
    bool started = false;
    bool timedOut = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    bool ok() const { return started && !timedOut && exitCode == 0; }
    QString stdOut() const { return QString::fromLocal8Bit(out); }
    // One line for failure messages: the command, how it ended and its stderr.
    QString describe(const QString &program, const QStringList &args) const;
};

CommandResult runCommand(const QString &program, const QStringList &args,
                         const QProcessEnvironment &env, int timeoutMs = 30000);
