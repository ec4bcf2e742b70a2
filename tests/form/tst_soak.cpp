#include "FakePlatform.h"
#include "app/Application.h"
#include "app/Form1.h"
#include "platform/OuterSize.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTest>
#include <array>
#include <memory>
#include <numeric>

// A long run of random user input on the real window, with dialogs, printer,
// clipboard and screen that choose, cancel or fail at random. After every
// action the window's invariants must hold. PITTORELLO_SOAK_SEED and
// PITTORELLO_SOAK_ACTIONS repeat a run or change its length.
namespace {

constexpr float printWidth = 8600, printHeight = 8255, normalWidth = 11970, normalHeight = 8250;

int fromEnvironment(const char *name, int otherwise)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : otherwise;
}

enum Kind {
    Press, Move, Release, TypeMode, TypeRadius, PickFromList, Scroll, Drag, Click, ClickComment, Menu, Close, Kinds
};
const char *const kindNames[] = {"press", "move", "release", "mode text", "radius text", "list key", "scroll",
                                 "drag", "button", "comment click", "menu", "close"};
// How often each kind comes, out of their sum.
constexpr int weights[Kinds] = {12, 30, 12, 4, 6, 3, 10, 3, 8, 2, 6, 0};
constexpr int closeOneIn = 5000;

struct Model
{
    bool copyEnabled = false;
    bool ridEnabled = false;
    float width, height;
};

} // namespace

class Soak
{
public:
    explicit Soak(quint32 seed) : m_seed(seed), m_random(seed) { open(); }

    void run(int actions);
    int faults() const { return m_faults; }
    // The first broken invariant, with the seed and the action that broke it.
    const QString &failure() const { return m_failure; }

private:
    void open();
    QString text();
    QPoint anywhere() { return {int(m_random.bounded(-300, 1100)), int(m_random.bounded(-300, 800))}; }
    Qt::KeyboardModifiers shiftState() { return Qt::KeyboardModifiers::fromInt(int(m_random.bounded(8)) << 25); }
    Qt::MouseButton button()
    {
        return std::array{Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}[m_random.bounded(3)];
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button);
    void injectFaults();
    bool colourFails() const;
    Kind act();
    void step();
    void menu();
    void check();
    void fail(const QString &what);

    quint32 m_seed;
    QRandomGenerator m_random;
    std::unique_ptr<FakePlatform> m_fake;
    std::unique_ptr<Form1> m_form;
    Model m_model;
    Qt::MouseButtons m_held;
    QSize m_imageSize;
    qint64 m_drawing = 0;
    bool m_barChanged[4] = {};
    int m_faults = 0;
    int m_index = 0;
    Kind m_kind = Kinds;
    QString m_failure;
    // What the action allows itself.
    bool m_draws = false;
    int m_messagesAllowed = 0;
    bool m_released = false;
};

void Soak::open()
{
    m_form.reset();
    m_fake = std::make_unique<FakePlatform>();
    m_form = std::make_unique<Form1>(m_fake->platform());
    m_form->show();
    // Offscreen windows have no frame, so the normal size leaves a client area
    // a few pixels larger than the one at start; the image grows to it here,
    // once, and must keep that size from then on.
    m_form->ui.no->trigger();
    QCoreApplication::processEvents();
    m_model = {false, false, normalWidth, normalHeight};
    m_held = {};
    m_imageSize = m_form->ui.canvas->image().size();
    m_drawing = m_form->ui.canvas->image().cacheKey();
    const QScrollBar *bars[] = {m_form->ui.HScroll1, m_form->ui.HScroll2, m_form->ui.HScroll3, m_form->ui.VScroll1};
    for (int i = 0; i < 4; ++i) {
        m_barChanged[i] = false;
        QObject::connect(bars[i], &QScrollBar::valueChanged, [this, i] { m_barChanged[i] = true; });
    }
}

QString Soak::text()
{
    static const QStringList fixed = {QString(), QStringLiteral("1e39"), QStringLiteral("&HFFFFFFFF"),
                                      QStringLiteral("1e400"), QStringLiteral("-150"), QStringLiteral("1 20"),
                                      QStringLiteral("Cerchio continuo SENZA Click"),
                                      QStringLiteral("Punto continuo al Clik"), QStringLiteral("&O"),
                                      QString(10000, u'9'), QString(10000, u'x'), QStringLiteral("3.4e38"),
                                      QStringLiteral("-1e30")};
    if (m_random.bounded(3))
        return fixed[m_random.bounded(int(fixed.size()))];
    QString noise;
    for (int i = int(m_random.bounded(20)); i > 0; --i)
        noise += QChar(char16_t(m_random.bounded(2) ? m_random.bounded(32, 127) : m_random.bounded(1, 0xD800)));
    return noise;
}

void Soak::mouse(QEvent::Type type, QPoint at, Qt::MouseButton which)
{
    Canvas *canvas = m_form->ui.canvas;
    QMouseEvent event(type, at, canvas->mapToGlobal(at), which, m_held, shiftState());
    QApplication::sendEvent(canvas, &event);
}

void Soak::injectFaults()
{
    FakeCommonDialog &dialog = m_fake->dialog;
    dialog.outcome = FakeCommonDialog::Outcome(m_random.bounded(3));
    dialog.colour = qint32(m_random.bounded(0x1000000));
    dialog.failColourRead = int(m_random.bounded(4));
    dialog.printerDialogFails = m_random.bounded(5) == 0;
    dialog.copies = qint16(m_random.bounded(-1, 4));
    m_fake->printer.failAtPage = int(m_random.bounded(4));
    m_fake->printer.pages.clear();
    m_fake->clipboard.refuses = m_random.bounded(5) == 0;
    m_fake->screenGrab.fails = m_random.bounded(5) == 0;
    m_fake->messageBox.shown.clear();
}

Kind Soak::act()
{
    int pick = int(m_random.bounded(closeOneIn));
    if (pick == 0)
        return Close;
    pick = int(m_random.bounded(std::accumulate(std::begin(weights), std::end(weights), 0)));
    int kind = 0;
    while (pick >= weights[kind])
        pick -= weights[kind++];
    return Kind(kind);
}

bool Soak::colourFails() const
{
    const FakeCommonDialog &dialog = m_fake->dialog;
    return dialog.outcome != FakeCommonDialog::Choose || dialog.failColourRead == 1 || dialog.failColourRead == 2;
}

void Soak::run(int actions)
{
    for (m_index = 0; m_index < actions && m_failure.isEmpty(); ++m_index) {
        injectFaults();
        m_draws = false;
        m_messagesAllowed = 0;
        m_released = false;
        m_kind = act();
        step();
        QCoreApplication::processEvents();
        check();
    }
}

void Soak::step()
{
    Ui::Form1 &ui = m_form->ui;
    QScrollBar *bars[] = {ui.HScroll1, ui.HScroll2, ui.HScroll3, ui.VScroll1};
    switch (m_kind) {
    case Press: {
        const Qt::MouseButton which = button();
        m_held |= which;
        m_draws = true;
        m_messagesAllowed = which == Qt::RightButton;
        mouse(QEvent::MouseButtonPress, {int(m_random.bounded(560)), int(m_random.bounded(460))}, which);
        break;
    }
    case Move:
        m_draws = true;
        mouse(QEvent::MouseMove, anywhere(), Qt::NoButton);
        break;
    case Release: {
        Qt::MouseButton which = button();
        while (m_held && !(m_held & which))
            which = button();
        m_held &= ~which;
        m_released = true;
        mouse(QEvent::MouseButtonRelease, anywhere(), which);
        break;
    }
    case TypeMode:
    case TypeRadius: {
        QComboBox *list = m_kind == TypeMode ? ui.Combo1 : ui.Combo2;
        const QString typed = text();
        // Typed key by key where Qt Test has keys for it, else pasted.
        const bool typeable = std::all_of(typed.begin(), typed.end(), [](QChar c) { return c >= u' ' && c < u'\x7f'; });
        if (typed.size() < 30 && typeable && list->isVisible()) {
            list->lineEdit()->clear();
            QTest::keyClicks(list->lineEdit(), typed);
        } else {
            list->setEditText(typed);
        }
        break;
    }
    case PickFromList: {
        QComboBox *lists[] = {ui.Combo1, ui.Combo2, ui.Combo3};
        QComboBox *list = lists[m_random.bounded(3)];
        if (list->isVisible())
            QTest::keyClick(list, m_random.bounded(2) ? Qt::Key_Down : Qt::Key_Up);
        break;
    }
    case Scroll: {
        QScrollBar *bar = bars[m_random.bounded(4)];
        if (bar->isVisible())
            bar->triggerAction(QAbstractSlider::SliderAction(m_random.bounded(1, 7)));
        break;
    }
    case Drag: {
        const int which = int(m_random.bounded(4));
        const QLabel *labels[] = {ui.Label4, ui.Label5, ui.Label6, ui.Label3};
        if (!bars[which]->isVisible())
            break;
        const QString before = labels[which]->text();
        bars[which]->setSliderDown(true);
        bars[which]->setSliderPosition(int(m_random.bounded(bars[which]->minimum(), bars[which]->maximum() + 1)));
        if (labels[which]->text() != before)
            fail(QStringLiteral("the label followed the thumb before its release"));
        bars[which]->setSliderDown(false);
        break;
    }
    case Click: {
        QPushButton *buttons[] = {ui.Command1, ui.Command2, ui.Command3, ui.Command4,
                                  ui.Command5, ui.Command6, ui.Command7, ui.Command8};
        QPushButton *pressed = buttons[m_random.bounded(8)];
        if (!pressed->isVisible())
            break;
        m_draws = pressed == ui.Command3 || pressed == ui.Command4;
        m_faults += pressed == ui.Command8 && colourFails();
        QTest::mouseClick(pressed, Qt::LeftButton);
        break;
    }
    case ClickComment:
        QTest::mouseClick(ui.Text1, Qt::LeftButton);
        break;
    case Menu:
        menu();
        break;
    case Close:
        ui.chi->trigger();
        if (m_form->isVisible())
            fail(QStringLiteral("Chiudi: left the window open"));
        open();
        break;
    case Kinds:
        break;
    }
}

void Soak::menu()
{
    Ui::Form1 &ui = m_form->ui;
    // The way back to the normal size comes twice as often, so the panel shows most of the time.
    QAction *items[] = {ui.mnuCopia, ui.s, ui.rid, ui.rid, ui.an, ui.no, ui.no, ui.cds};
    QAction *item = items[m_random.bounded(8)];
    if (!item->isEnabled())
        return;
    const FakeCommonDialog &dialog = m_fake->dialog;
    if (item == ui.mnuCopia) {
        const bool fails = m_fake->screenGrab.fails || m_fake->clipboard.refuses;
        m_messagesAllowed = fails;
        m_faults += fails;
    } else if (item == ui.s) {
        const int printed = std::max(0, int(dialog.copies));
        const int failAt = m_fake->printer.failAtPage;
        const bool fails = dialog.printerDialogFails || (failAt && failAt <= printed);
        m_messagesAllowed = fails;
        m_faults += fails;
        m_model.ridEnabled = m_model.ridEnabled || !fails;
        m_model.width = printWidth, m_model.height = printHeight;
    } else if (item == ui.rid) {
        m_model.ridEnabled = false;
        m_model.width = normalWidth, m_model.height = normalHeight;
    } else if (item == ui.an) {
        m_model.copyEnabled = true;
        m_model.width = printWidth, m_model.height = printHeight;
    } else if (item == ui.no) {
        m_model.copyEnabled = false;
        m_model.width = normalWidth, m_model.height = normalHeight;
    } else {
        // The warning; the chooser itself fails in silence.
        m_messagesAllowed = 1;
        m_draws = dialog.outcome == FakeCommonDialog::Choose && dialog.failColourRead != 1;
        m_faults += colourFails();
    }
    item->trigger();
}

void Soak::fail(const QString &what)
{
    if (m_failure.isEmpty())
        m_failure = QStringLiteral("seed %1, action %2 (%3): %4")
                        .arg(m_seed).arg(m_index).arg(QLatin1String(kindNames[m_kind]), what);
}

void Soak::check()
{
    Ui::Form1 &ui = m_form->ui;
    const QScrollBar *bars[] = {ui.HScroll1, ui.HScroll2, ui.HScroll3, ui.VScroll1};
    const QLabel *labels[] = {ui.Label4, ui.Label5, ui.Label6, ui.Label3};
    for (int i = 0; i < 4; ++i) {
        if (bars[i]->value() < bars[i]->minimum() || bars[i]->value() > bars[i]->maximum()
            || bars[i]->minimum() != (i == 3 ? 1 : 0) || bars[i]->maximum() != (i == 3 ? 50 : 255))
            fail(QStringLiteral("%1 left its range").arg(bars[i]->objectName()));
        if (m_barChanged[i] && labels[i]->text() != QString::number(bars[i]->value()))
            fail(QStringLiteral("%1 reads %2 beside the value %3")
                     .arg(labels[i]->objectName(), labels[i]->text()).arg(bars[i]->value()));
    }
    const QImage &image = ui.canvas->image();
    if (image.size() != m_imageSize)
        fail(QStringLiteral("the canvas image changed size"));
    if (!m_draws && image.cacheKey() != m_drawing)
        fail(QStringLiteral("the drawing changed"));
    m_drawing = image.cacheKey();
    if (ui.mnuCopia->isEnabled() != m_model.copyEnabled || ui.rid->isEnabled() != m_model.ridEnabled)
        fail(QStringLiteral("Copia: %1, Ridimensiona: %2")
                 .arg(ui.mnuCopia->isEnabled() ? "enabled" : "disabled", ui.rid->isEnabled() ? "enabled" : "disabled"));
    if (OuterSize::width(*m_form) != m_model.width || OuterSize::height(*m_form) != m_model.height)
        fail(QStringLiteral("the window is %1 x %2 twips").arg(OuterSize::width(*m_form)).arg(OuterSize::height(*m_form)));
    if (m_released && m_form->penDown())
        fail(QStringLiteral("the pen is down after a release"));
    if (m_fake->messageBox.shown.size() > m_messagesAllowed)
        fail(QStringLiteral("unexpected message: %1").arg(m_fake->messageBox.shown.join(u'|')));
}

class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void randomInput();
};

namespace {

QtMessageHandler testLog = nullptr;

// Qt's offscreen platform and font engine repeat two harmless notes thousands
// of times; left in, they would crowd out the run's own report.
void withoutPlatformNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message == QLatin1String("This plugin does not support propagateSizeHints()")
        || message.contains(QLatin1String("OpenType support missing for")))
        return;
    testLog(type, context, message);
}

} // namespace

void TestSoak::initTestCase()
{
    Application::setUp(*qApp);
    testLog = qInstallMessageHandler(withoutPlatformNotes);
}

void TestSoak::randomInput()
{
    const quint32 seed = quint32(fromEnvironment("PITTORELLO_SOAK_SEED", 1));
    const int actions = fromEnvironment("PITTORELLO_SOAK_ACTIONS", 100000);
    QElapsedTimer clock;
    clock.start();
    Soak soak(seed);
    soak.run(actions);
    QVERIFY2(soak.failure().isEmpty(), qPrintable(soak.failure()));
    qInfo().noquote() << QStringLiteral("soak: %1 actions (seed %2) in %3 s, invariants held after each; %4 faults met")
                             .arg(actions).arg(seed).arg(clock.elapsed() / 1000.0, 0, 'f', 1).arg(soak.faults());
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
