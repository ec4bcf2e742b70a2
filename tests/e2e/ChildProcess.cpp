#include "ChildProcess.h"

#include <QFile>
#include <QtTest/QTest>

#include <csignal>
#include <sys/prctl.h>

ChildProcess::ChildProcess(QString name) : m_name(std::move(name)) {}

ChildProcess::~ChildProcess()
{
    stop();
}

bool ChildProcess::start(const QString &program, const QStringList &args,
                         const QProcessEnvironment &env, const ChildOutput &output)
{
    m_logFile = output.logFile;
    m_process.setProcessEnvironment(env);
    if (m_logFile.isEmpty()) {
        m_process.setProcessChannelMode(output.pipeStdout ? QProcess::ForwardedErrorChannel
                                                          : QProcess::ForwardedChannels);
    } else {
        if (!output.pipeStdout)
            m_process.setStandardOutputFile(m_logFile, QIODevice::Append);
        m_process.setStandardErrorFile(m_logFile, QIODevice::Append);
    }
    // Without this a crashed or killed test would leave X servers and cupsd behind.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_process.start(program, args);
    if (!m_process.waitForStarted(10000)) {
        QTest::qFail(qPrintable(QStringLiteral("%1 (%2) could not be started: %3")
                                    .arg(m_name, program, m_process.errorString())),
                     __FILE__, __LINE__);
        return false;
    }
    m_pid = m_process.processId();
    return true;
}

void ChildProcess::stop(int graceMs)
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(graceMs)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool ChildProcess::isRunning()
{
    // Lets QProcess notice an exit that happened while no event loop ran.
    if (m_process.state() == QProcess::Running)
        m_process.waitForFinished(0);
    return m_process.state() == QProcess::Running;
}

QString ChildProcess::exitDescription()
{
    QString how;
    if (isRunning())
        how = QStringLiteral("is still running");
    else if (m_process.exitStatus() == QProcess::CrashExit)
        how = QStringLiteral("was killed or crashed");
    else
        how = QStringLiteral("exited with %1").arg(m_process.exitCode());
    QString log;
    QFile f(m_logFile);
    if (!m_logFile.isEmpty() && f.open(QIODevice::ReadOnly)) {
        if (f.size() > 2000)
            f.seek(f.size() - 2000);
        log = QString::fromLocal8Bit(f.readAll()).trimmed();
    }
    return QStringLiteral("%1 (pid %2) %3%4").arg(m_name).arg(m_pid).arg(how,
                                               log.isEmpty() ? QString() : ": " + log);
}
