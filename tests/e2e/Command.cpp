#include "Command.h"

#include <QProcess>

QString CommandResult::describe(const QString &program, const QStringList &args) const
{
    QString how;
    if (!started)
        how = QStringLiteral("could not be started");
    else if (timedOut)
        how = QStringLiteral("timed out");
    else
        how = QStringLiteral("exited with %1").arg(exitCode);
    return QStringLiteral("'%1 %2' %3: %4")
        .arg(program, args.join(QLatin1Char(' ')), how,
             QString::fromLocal8Bit(err).trimmed());
}

CommandResult runCommand(const QString &program, const QStringList &args,
                         const QProcessEnvironment &env, int timeoutMs)
{
    CommandResult r;
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    r.started = p.waitForStarted(timeoutMs);
    if (!r.started)
        return r;
    if (!p.waitForFinished(timeoutMs)) {
        r.timedOut = true;
        p.kill();
        p.waitForFinished(2000);
    }
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    if (!r.timedOut)
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return r;
}
