// Seeded random actions on the window, as a restless user with a flaky
// printer would make them, checking after each what must always hold.
// PITTORELLO_SOAK_SEED and PITTORELLO_SOAK_ACTIONS repeat or resize the run.
#include "Fixture.h"

#include <QElapsedTimer>
#include <random>

class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Application::setUp(*qApp); }
    void randomActionsKeepTheWindowSound();
};

void TestSoak::randomActionsKeepTheWindowSound()
{
    const int actions = qEnvironmentVariableIntValue("PITTORELLO_SOAK_ACTIONS") ?: 100000;
    const uint seed = qEnvironmentVariableIsSet("PITTORELLO_SOAK_SEED") ? qEnvironmentVariableIntValue("PITTORELLO_SOAK_SEED") : 1;
    std::mt19937 random(seed);
    const auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    Ui::Form1 &ui = f.ui;
    Qt::MouseButtons held;
    bool pen = false;
    int messages = 0, faults = 0;
    QElapsedTimer timer;
    timer.start();
    for (int action = 0; action < actions; ++action) {
        const QPoint at(pick(900) - 50, pick(600) - 50);
        const Qt::MouseButton button = std::array{Qt::LeftButton, Qt::RightButton, Qt::MiddleButton, Qt::BackButton}[pick(4)];
        const bool side = button == Qt::BackButton; // neither takes nor lifts the pen
        const int kind = pick(100);
        if (kind < 30) {
            f.mouse(QEvent::MouseButtonPress, at, button, held |= button);
            pen = pen || !side;
            messages += button == Qt::RightButton && ui.Combo2->currentText() == u"1e39";
        } else if (kind < 70) {
            // Now and then a release went to a modal box: the next move lifts the pen.
            if (!pick(20) && held)
                held = {}, pen = false;
            f.mouse(QEvent::MouseMove, at, Qt::NoButton, held);
        } else if (kind < 85) {
            f.mouse(QEvent::MouseButtonRelease, at, button, held &= ~button);
            pen = pen && side;
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
            f.dialog.cancel = pick(2);
            f.dialog.copies = pick(5) - 1;
            f.printer.pages.clear();
            f.printer.failAtPage = pick(4) ? 0 : 1 + pick(3);
            f.printer.outOfMemory = pick(2);
            f.screen.fails = !pick(4);
            QAction *item = std::array{ui.an, ui.s, ui.no, ui.rid, ui.cds, ui.mnuCopia}[pick(6)];
            // The faults a real printer and screen can have, each to be reported; the warning before a colour.
            const bool fault = (item == ui.s && f.printer.failAtPage && f.printer.failAtPage <= f.dialog.copies)
                || (item == ui.mnuCopia && item->isEnabled() && f.screen.fails);
            faults += fault;
            messages += fault || item == ui.cds;
            item->trigger();
        }
        // The pen down exactly from a press to the next release; the labels showing their bars; the panel
        // shown at the normal size alone; a message for each fault, and no other.
        const int width = ui.canvas->width();
        const bool sound = f.form.penDown() == pen && ui.Label4->text().toInt() == ui.HScroll1->value()
            && ui.Label3->text().toInt() == ui.VScroll1->value() && (width == 567 || width == 792)
            && ui.Frame1->isVisible() == (width == 792) && f.messageBox.shown.size() == messages;
        QVERIFY2(sound, qPrintable(QStringLiteral("after action %1").arg(action)));
    }
    std::printf("soak: %d actions (seed %u) in %.1f s, invariants held after each; %d faults injected, each reported\n",
                actions, seed, timer.elapsed() / 1000.0, faults);
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
