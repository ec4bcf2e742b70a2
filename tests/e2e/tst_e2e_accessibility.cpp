// The window as a screen reader meets it: a private session bus with the
// accessibility bus behind it, accessibility switched on as an assistive
// client does, and the tree read over AT-SPI by pyatspi. Then a session with
// the keyboard alone, each focus move checked on that bus.
#include "ChildProcess.h"
#include "Poll.h"
#include "ProgramUnderTest.h"
#include "X11Session.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Accessible {
    int depth = 0;
    QString role, name, description;
    QStringList states;
};

} // namespace

class TestE2eAccessibility : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void controlsHaveNames_data();
    void controlsHaveNames();
    void everyFocusableControlIsNamed();
    void keyboardAloneReachesEveryControlAndCloses();

private:
    QList<Accessible> tree(int waitSeconds = 20) const;
    QString focusedName() const;

    QTemporaryDir dir;
    std::unique_ptr<X11Session> session;
    std::unique_ptr<ChildProcess> bus;
    std::unique_ptr<ProgramUnderTest> program;
    QList<Accessible> atStart;
};

void TestE2eAccessibility::initTestCase()
{
    session = std::make_unique<X11Session>();
    QVERIFY(session->start());
    const QString socket = dir.filePath("bus");
    bus = std::make_unique<ChildProcess>(QStringLiteral("dbus-daemon"));
    QVERIFY(bus->start("dbus-daemon", {"--session", "--nofork", "--address=unix:path=" + socket},
                       session->environment(), {dir.filePath("bus.log")}));
    QVERIFY2(pollUntil([&] { return QFile::exists(socket); }, 10000), qPrintable(bus->exitDescription()));
    session->setVariable("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + socket);
    // What a screen reader does on start; the bus starts the accessibility bus on demand.
    const QStringList enable{"--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                             "org.freedesktop.DBus.Properties.Set", "string:org.a11y.Status",
                             "string:IsEnabled", "variant:boolean:true"};
    const CommandResult r = session->run("dbus-send", enable);
    QVERIFY2(r.ok(), qPrintable(r.describe("dbus-send", enable)));

    program = std::make_unique<ProgramUnderTest>(*session);
    QVERIFY(program->start());
    atStart = tree();
    QVERIFY(!atStart.isEmpty());
}

void TestE2eAccessibility::cleanupTestCase()
{
    program.reset();
    // Stopping the bus ends the accessibility bus it started.
    bus.reset();
    session.reset();
}

QList<Accessible> TestE2eAccessibility::tree(int waitSeconds) const
{
    const QStringList args{QStringLiteral(ACCESSIBLE_TREE), "Pittorello 1", QString::number(waitSeconds)};
    const CommandResult r = session->run("/usr/bin/python3", args);
    if (!r.ok()) {
        QTest::qFail(qPrintable(r.describe("accessible_tree.py", args)), __FILE__, __LINE__);
        return {};
    }
    QList<Accessible> nodes;
    for (const QString &line : r.stdOut().split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList f = line.split(QLatin1Char('\t'));
        if (f.size() == 5)
            nodes.append({f[0].toInt(), f[1], f[2], f[3], f[4].split(QLatin1Char(','), Qt::SkipEmptyParts)});
    }
    return nodes;
}

// What a screen reader says on a focus move: the name, or for a list its purpose.
QString TestE2eAccessibility::focusedName() const
{
    for (const Accessible &a : tree(1))
        if (a.states.contains("focused") && a.states.contains("showing"))
            return a.role == "combo box" ? a.description : a.name;
    return {};
}

void TestE2eAccessibility::controlsHaveNames_data()
{
    QTest::addColumn<QString>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    for (const char *caption : {"Cancella tutto", "Bianco", "Nero", "Cornice ON", "Cornice OF", "Linea per effetto 3D",
                                "Spessore 1 colore nero:", "Colore dello stile:"})
        QTest::newRow(caption) << "push button" << caption << "";
    for (const char *bar : {"Rosso", "Verde", "Blu", "Spessore"})
        QTest::newRow(bar) << "scroll bar" << bar << "";
    QTest::newRow("mode list") << "combo box" << "Punto continuo al Click" << "Modo di disegno";
    QTest::newRow("mode list's field") << "text" << "Modo di disegno" << "";
    QTest::newRow("radius list") << "combo box" << "100" << "Diametro input DX del mouse";
    QTest::newRow("radius list's field") << "text" << "Diametro input DX del mouse" << "";
    QTest::newRow("frame style list") << "combo box" << "Stile dello sfondo:" << "Stile della cornice";
    QTest::newRow("frame style list's field") << "text" << "Stile della cornice" << "";
    QTest::newRow("comment line") << "text" << "Commento" << "";
    QTest::newRow("drawing area") << "filler" << "Area di disegno" << "";
    QTest::newRow("menu") << "menu item" << "Visualizza" << "";
    QTest::newRow("menu item") << "menu item" << "Copia:" << "";
}

void TestE2eAccessibility::controlsHaveNames()
{
    QFETCH(QString, role);
    QFETCH(QString, name);
    QFETCH(QString, description);
    const auto found = std::count_if(atStart.cbegin(), atStart.cend(), [&](const Accessible &a) {
        return a.role == role && a.name == name && a.description.startsWith(description);
    });
    QCOMPARE(found, 1);
}

void TestE2eAccessibility::everyFocusableControlIsNamed()
{
    int focusable = 0;
    for (const Accessible &a : atStart) {
        if (!a.states.contains("focusable") || !a.states.contains("showing"))
            continue;
        ++focusable;
        QVERIFY2(!a.name.trimmed().isEmpty(), qPrintable(a.role + " without a name"));
    }
    // The 16 controls of the tab order, 3 list fields, and the lists' shown items.
    QVERIFY2(focusable >= 19, qPrintable(QString::number(focusable)));
}

void TestE2eAccessibility::keyboardAloneReachesEveryControlAndCloses()
{
    QVERIFY(program->activate());
    QTRY_COMPARE_WITH_TIMEOUT(focusedName(), QString("Spessore"), 10000);
    const QStringList order{"Cancella tutto", "Nero", "Bianco", "Blu", "Verde", "Linea per effetto 3D", "Commento",
                            "Rosso", "Spessore 1 colore nero:", "Cornice ON", "Cornice OF", "Modo di disegno",
                            "Diametro input DX del mouse", "Stile della cornice", "Colore dello stile:", "Spessore"};
    for (const QString &expected : order) {
        QVERIFY(program->key("Tab"));
        QTRY_COMPARE_WITH_TIMEOUT(focusedName(), expected, 10000);
    }
    // "Chiudi:" through the File menu's access keys ends the program.
    QVERIFY(program->key("alt+f"));
    QVERIFY(program->key("c"));
    QVERIFY2(pollUntil([&] { return !program->isRunning(); }, 10000), qPrintable(program->exitDescription()));
}

QTEST_GUILESS_MAIN(TestE2eAccessibility)
#include "tst_e2e_accessibility.moc"
