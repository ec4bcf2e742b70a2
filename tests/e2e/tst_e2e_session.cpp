// The X session every GUI test stands on: a display of its own, a window
// manager on it, and nothing left running once it is gone.
#include "X11Session.h"

#include <QFile>
#include <QtTest>

#include <cerrno>
#include <csignal>

namespace {

bool processGone(qint64 pid)
{
    return pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

// Xvfb's lock file holds its pid; a parallel test may already own the number again.
QByteArray lockOwner(const QString &lockFile)
{
    QFile f(lockFile);
    return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed() : QByteArray();
}

} // namespace

class TestE2eSession : public QObject {
    Q_OBJECT

private slots:
    void ownsItsDisplayAndCleansUp()
    {
        // A display inherited from the caller must never be used.
        qputenv("DISPLAY", ":4242");
        qint64 server = 0, windowManager = 0;
        QString lockFile;
        {
            X11Session session;
            QVERIFY(session.start(800, 600));
            QVERIFY(session.display().startsWith(':'));
            QVERIFY(session.display() != ":4242");
            QCOMPARE(session.environment().value("DISPLAY"), session.display());

            const CommandResult info = session.run("xdpyinfo", {});
            QVERIFY2(info.ok(), qPrintable(info.describe("xdpyinfo", {})));
            QVERIFY(info.stdOut().contains("dimensions:    800x600 pixels"));
            QCOMPARE(session.screenshot().size(), QSize(800, 600));

            server = session.serverPid();
            windowManager = session.windowManagerPid();
            lockFile = "/tmp/.X" + session.display().mid(1) + "-lock";
            QCOMPARE(lockOwner(lockFile), QByteArray::number(server));
        }
        QVERIFY(processGone(server));
        QVERIFY(processGone(windowManager));
        QVERIFY(lockOwner(lockFile) != QByteArray::number(server));
    }

    void sessionsRunSideBySide()
    {
        X11Session first, second;
        QVERIFY(first.start());
        QVERIFY(second.start());
        QVERIFY(first.display() != second.display());
        QVERIFY(first.run("xdpyinfo", {}).ok());
        second.stop();
        QVERIFY(processGone(second.serverPid()));
        QVERIFY2(first.run("xdpyinfo", {}).ok(), "stopping one session must not touch the other");
    }
};

QTEST_GUILESS_MAIN(TestE2eSession)
#include "tst_e2e_session.moc"
