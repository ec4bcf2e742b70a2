#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Where a child's output goes. Never an unread pipe: a chatty child would block on it.
struct ChildOutput {
    QString logFile;            // empty: straight into the test's own output
    bool pipeStdout = false;    // keep stdout readable through ChildProcess::process()
};

// A long-running process the test owns (X server, window manager, cupsd, the
// program). It dies with the test process even on a crash, and is otherwise
// stopped by PID when this object goes away.
class ChildProcess {
public:
    explicit ChildProcess(QString name);
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // Records a test failure naming the process when it cannot be started.
    bool start(const QString &program, const QStringList &args,
               const QProcessEnvironment &env, const ChildOutput &output = {});
    // SIGTERM, then SIGKILL if it has not exited within graceMs; always reaps it.
    void stop(int graceMs = 5000);

    bool isRunning();
    qint64 pid() const { return m_pid; }
    const QString &name() const { return m_name; }
    // How it ended and the tail of its log, for messages when it died unexpectedly.
    QString exitDescription();
    QProcess &process() { return m_process; }

private:
    QString m_name;
    QString m_logFile;
    qint64 m_pid = 0;
    QProcess m_process;
};
