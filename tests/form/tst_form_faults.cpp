#include "FakePlatform.h"
#include "app/Application.h"
#include "app/Form1.h"
#include "platform/OuterSize.h"

#include <QApplication>
#include <QTest>
#include <functional>

// Every fault the window's services can raise, injected one at a time into a
// window holding a drawing: each is reported or silent as designed, nothing
// but what the failing command had already done changes, and the same
// command works once the fault is gone.
namespace {

const QString warning = QStringLiteral(
    "Attenzione questa impostazione va usata prima di iniziare a disegnare, altrimenti cancella tutto il disegno!");

// All the window holds, in parts that a command may legitimately change.
struct State
{
    QImage drawing;
    QList<QVariant> pen, background, controls, frame, menus, size, picture, clipboard;
};

State stateOf(Form1 &form, const FakeClipboard &clipboard)
{
    Ui::Form1 &ui = form.ui;
    State s;
    s.drawing = ui.canvas->image();
    s.pen = {ui.canvas->foreColor(), ui.canvas->drawWidth(), ui.canvas->currentPosition(), form.penDown()};
    s.background = {ui.canvas->backColor(), ui.Text1->palette().color(QPalette::Base)};
    for (const QScrollBar *bar : {ui.HScroll1, ui.HScroll2, ui.HScroll3, ui.VScroll1})
        s.controls << bar->value();
    for (const QLabel *label : {ui.Label3, ui.Label4, ui.Label5, ui.Label6})
        s.controls << label->text();
    for (const QComboBox *list : {ui.Combo1, ui.Combo2, ui.Combo3})
        s.controls << list->currentText() << list->count();
    s.controls << ui.Text1->text();
    s.frame = {ui.Shape1->isVisible(), ui.Shape2->isVisible(), ui.Shape1->fillColor(), ui.Shape1->fillStyle(),
               ui.Command6->palette().color(QPalette::Button), ui.Command7->palette().color(QPalette::Button)};
    s.menus = {ui.mnuCopia->isEnabled(), ui.rid->isEnabled()};
    s.size = {OuterSize::width(form), OuterSize::height(form)};
    s.picture = {ui.Picture1->picture().bitmap()};
    s.clipboard = {clipboard.image, clipboard.clears};
    return s;
}

QStringList differences(const State &a, const State &b)
{
    QStringList changed;
    if (a.drawing != b.drawing)
        changed << "drawing";
    const std::pair<const char *, QList<QVariant> State::*> parts[] = {
        {"pen", &State::pen},       {"background", &State::background}, {"controls", &State::controls},
        {"frame", &State::frame},   {"menus", &State::menus},           {"size", &State::size},
        {"picture", &State::picture}, {"clipboard", &State::clipboard}};
    for (const auto &[name, part] : parts)
        if (a.*part != b.*part)
            changed << name;
    return changed;
}

using Inject = std::function<void(FakePlatform &)>;

int injected = 0;

} // namespace

class TestFormFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void faultKeepsTheWindow_data();
    void faultKeepsTheWindow();
};

void TestFormFaults::initTestCase()
{
    Application::setUp(*qApp);
}

void TestFormFaults::cleanupTestCase()
{
    qInfo().noquote() << QStringLiteral("faults: %1 injected, each reported or silent as designed, "
                                        "drawing and window state intact").arg(injected);
}

void TestFormFaults::faultKeepsTheWindow_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<Inject>("inject");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("reportSays");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QStringList>("changed");

    const auto chooser = [](FakeCommonDialog::Outcome outcome, int failRead) {
        return Inject([=](FakePlatform &f) { f.dialog.outcome = outcome, f.dialog.failColourRead = failRead; });
    };
    const auto printFails = [](int copy) { return Inject([=](FakePlatform &f) { f.printer.failAtPage = copy; }); };
    for (const char *command : {"Command8", "cds"}) {
        const QStringList shown = command == QLatin1String("cds") ? QStringList{warning} : QStringList{};
        QTest::addRow("%s: chooser fails", command)
            << command << chooser(FakeCommonDialog::Fail, 0) << shown << QString() << 0 << QStringList();
        QTest::addRow("%s: chooser cancelled", command)
            << command << chooser(FakeCommonDialog::Cancel, 0) << shown << QString() << 0 << QStringList();
        QTest::addRow("%s: colour unreadable", command)
            << command << chooser(FakeCommonDialog::Choose, 1) << shown << QString() << 0 << QStringList();
    }
    QTest::newRow("s: printer dialog fails") << "s" << Inject([](FakePlatform &f) { f.dialog.printerDialogFails = true; })
                                             << QStringList() << "printer dialog failed" << 0 << QStringList();
    for (int copy = 1; copy <= 3; ++copy)
        QTest::addRow("s: printing fails at copy %d of 3", copy)
            << "s" << printFails(copy) << QStringList()
            << QStringLiteral("printer refused\nCopie stampate: %1 di 3.").arg(copy - 1) << copy - 1 << QStringList();
    QTest::newRow("mnuCopia: capture gives nothing")
        << "mnuCopia" << Inject([](FakePlatform &f) { f.screenGrab.fails = true; }) << QStringList()
        << "gli appunti non sono stati modificati" << 0 << QStringList();
    // The picture was taken and the clipboard emptied before the refusal.
    QTest::newRow("mnuCopia: clipboard refuses the image")
        << "mnuCopia" << Inject([](FakePlatform &f) { f.clipboard.refuses = true; }) << QStringList()
        << "clipboard refused" << 0 << QStringList{"picture", "clipboard"};
}

void TestFormFaults::faultKeepsTheWindow()
{
    QFETCH(QString, command);
    QFETCH(Inject, inject);
    QFETCH(QStringList, shown);
    QFETCH(QString, reportSays);
    QFETCH(int, pages);
    QFETCH(QStringList, changed);

    FakePlatform fake;
    Form1 form(fake.platform());
    Ui::Form1 &ui = form.ui;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    // A drawing and a window that is not as it started, with a copy behind
    // it; at the print size for printing and copying, where the panel is gone.
    ui.Command6->click();
    ui.HScroll1->setValue(200);
    ui.VScroll1->setValue(6);
    ui.Combo2->setEditText(QStringLiteral("300"));
    ui.Text1->setText(QStringLiteral("una nota"));
    QTest::mousePress(ui.canvas, Qt::RightButton, {}, {200, 150});
    QTest::mouseMove(ui.canvas, {260, 190});
    QTest::mouseRelease(ui.canvas, Qt::RightButton, {}, {260, 190});
    fake.dialog.copies = 3;
    ui.an->trigger();
    ui.mnuCopia->trigger();
    if (command == QLatin1String("Command8") || command == QLatin1String("cds"))
        ui.no->trigger();
    fake.screenGrab.ppiX = 120; // the next capture differs from the last
    QVERIFY(fake.messageBox.shown.isEmpty());
    const State before = stateOf(form, fake.clipboard);

    inject(fake);
    ++injected;
    const auto run = [&] {
        if (command == QLatin1String("Command8"))
            QTest::mouseClick(ui.Command8, Qt::LeftButton);
        else
            form.findChild<QAction *>(command)->trigger();
        QCoreApplication::processEvents();
    };
    run();

    if (reportSays.isEmpty()) {
        QCOMPARE(fake.messageBox.shown, shown);
    } else {
        QCOMPARE(fake.messageBox.shown.size(), 1);
        QVERIFY2(fake.messageBox.shown[0].contains(reportSays), qPrintable(fake.messageBox.shown[0]));
    }
    QCOMPARE(fake.printer.pages.size(), pages);
    QCOMPARE(differences(before, stateOf(form, fake.clipboard)).join(", "), changed.join(", "));

    // The fault gone, the same command does its work.
    fake = FakePlatform();
    fake.dialog.colour = 0x00336699;
    fake.dialog.copies = 3;
    run();
    if (command == QLatin1String("Command8"))
        QCOMPARE(ui.Shape1->fillColor(), QColor(0x99, 0x66, 0x33));
    else if (command == QLatin1String("cds"))
        QCOMPARE(ui.canvas->backColor(), QColor(0x99, 0x66, 0x33));
    else if (command == QLatin1String("s"))
        QVERIFY(fake.printer.pages.size() == 3 && ui.rid->isEnabled());
    else
        QVERIFY(!fake.clipboard.image.isNull() && fake.clipboard.image == ui.Picture1->picture().bitmap());
}

QTEST_MAIN(TestFormFaults)
#include "tst_form_faults.moc"
