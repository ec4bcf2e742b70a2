// The outer size set before the window manager has framed the window: once
// the frame comes, the window is sized again so that frame and caption fit
// within the size that was set.
#include "X11Session.h"

#include <QtTest>

class TestE2eOuterSize : public QObject {
    Q_OBJECT

private slots:
    void sizeSetBeforeTheFrameHolds()
    {
        X11Session session;
        QVERIFY(session.start());
        QProcessEnvironment env = session.environment();
        env.insert("QT_QPA_PLATFORM", "xcb");

        const CommandResult r = runCommand(QStringLiteral(OUTERSIZE_PROBE), {}, env);

        QVERIFY2(r.ok(), qPrintable(r.describe("outersize_probe", {})));
        QCOMPARE(r.stdOut().trimmed(), QStringLiteral("573 550 8600 8255"));
    }
};

QTEST_GUILESS_MAIN(TestE2eOuterSize)
#include "tst_e2e_outersize.moc"
