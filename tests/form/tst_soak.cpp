// A seeded run of random actions on the window, as a restless user with a
// flaky printer and clipboard would make them, checking after each one what
// must always hold. PITTORELLO_SOAK_SEED and PITTORELLO_SOAK_ACTIONS repeat
// or resize it.
#include "Fixture.h"

#include <QElapsedTimer>
#include <random>

class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Application::setUp(*qApp); }
    void randomActionsKeepTheWindowSound();

private:
    void act();
    void check(qint64 action);
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    std::mt19937 random;
    Fixture *f = nullptr;
    Qt::MouseButtons held;
    bool pen = false;
    bool printSize = false, copyEnabled = false, ridEnabled = false;
    int messages = 0, faults = 0;
};

void TestSoak::randomActionsKeepTheWindowSound()
{
    const qint64 actions = qEnvironmentVariableIntValue("PITTORELLO_SOAK_ACTIONS") ?: 100000;
    const uint seed = qEnvironmentVariableIsSet("PITTORELLO_SOAK_SEED") ? qEnvironmentVariableIntValue("PITTORELLO_SOAK_SEED") : 1;
    random.seed(seed);
    Fixture fixture;
    f = &fixture;
    QVERIFY(QTest::qWaitForWindowActive(&f->form));
    QElapsedTimer timer;
    timer.start();
    for (qint64 i = 0; i < actions; ++i) {
        act();
        check(i);
        if (QTest::currentTestFailed())
            return;
    }
    std::printf("soak: %lld actions (seed %u) in %.1f s, invariants held after each; %d faults injected, each reported\n",
                actions, seed, timer.elapsed() / 1000.0, faults);
}

void TestSoak::act()
{
    Ui::Form1 &ui = f->ui;
    Fixture &fake = *f;
    const QPoint at(pick(900) - 50, pick(600) - 50);
    const Qt::MouseButton button = std::array{Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}[pick(3)];
    const int kind = pick(100);
    if (kind < 30) {
        held |= button;
        pen = true;
        f->mouse(QEvent::MouseButtonPress, at, button, held);
        if (button == Qt::RightButton && ui.Combo2->currentText() == u"1e39")
            ++messages;
    } else if (kind < 70) {
        // Now and then the release went to a modal box: the move lifts the pen.
        if (!pick(20) && held)
            held = Qt::MouseButtons(), pen = false;
        f->mouse(QEvent::MouseMove, at, Qt::NoButton, held);
    } else if (kind < 85) {
        held &= ~button;
        pen = false;
        f->mouse(QEvent::MouseButtonRelease, at, button, held);
    } else if (kind < 91) {
        QScrollBar *bar = std::array{ui.HScroll1, ui.HScroll2, ui.HScroll3, ui.VScroll1}[pick(4)];
        bar->setValue(bar->minimum() + pick(bar->maximum() - bar->minimum() + 1));
    } else if (kind < 95) {
        std::array{ui.Command1, ui.Command2, ui.Command3, ui.Command4, ui.Command5, ui.Command6, ui.Command7}[pick(7)]->click();
    } else if (kind < 98) {
        ui.Combo1->setEditText(ui.Combo1->itemText(pick(2)));
        ui.Combo2->setEditText(QStringList{"100", "0", "-40", "&H1F4", "35abc", "1e39", ""}[pick(7)]);
        ui.Combo3->setCurrentIndex(pick(6));
        emit ui.Combo3->activated(ui.Combo3->currentIndex());
    } else {
        fake.dialog.cancel = pick(2);
        fake.dialog.copies = qint16(pick(5) - 1);
        fake.printer.pages.clear();
        fake.printer.failAtPage = pick(4) ? 0 : 1 + pick(3);
        fake.screen.fails = !pick(4);
        switch (pick(6)) {
        case 0:
            ui.an->trigger();
            printSize = copyEnabled = true;
            break;
        case 1: {
            const bool fails = fake.printer.failAtPage && fake.printer.failAtPage <= fake.dialog.copies;
            faults += fails;
            messages += fails;
            ui.s->trigger();
            printSize = true;
            ridEnabled = ridEnabled || !fails;
            break;
        }
        case 2:
            ui.no->trigger();
            printSize = copyEnabled = false;
            break;
        case 3:
            ui.rid->trigger();
            printSize = ridEnabled ? false : printSize;
            ridEnabled = false;
            break;
        case 4:
            ui.cds->trigger();
            ++messages;
            break;
        default:
            faults += copyEnabled && fake.screen.fails;
            messages += copyEnabled && fake.screen.fails;
            ui.mnuCopia->trigger();
        }
    }
}

void TestSoak::check(qint64 action)
{
    const Ui::Form1 &ui = f->ui;
    const auto fail = [&](const char *what) {
        QFAIL(qPrintable(QStringLiteral("after action %1: %2").arg(action).arg(QLatin1String(what))));
    };
    if (f->form.penDown() != pen)
        return fail("the pen is not down exactly from a press to the next release");
    for (auto [bar, label] : {std::pair{ui.HScroll1, ui.Label4}, {ui.HScroll2, ui.Label5}, {ui.HScroll3, ui.Label6}})
        if (label->text() != QString::number(bar->value()))
            return fail("a colour label does not show its bar");
    if (ui.canvas->width() != (printSize ? 567 : 792) || ui.Frame1->isVisible() == printSize)
        return fail("the window is not at the size its menus chose");
    if (ui.mnuCopia->isEnabled() != copyEnabled || ui.rid->isEnabled() != ridEnabled)
        return fail("a menu item's state is not what its menus made it");
    if (f->messageBox.shown.size() != messages)
        return fail("a message appeared that no fault explains, or a fault went unreported");
    if (ui.canvas->image().width() < 792 || ui.canvas->image().height() < 506)
        return fail("the drawing lost part of its image");
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
