#include "Form1.h"

#include "Form1Design.h"
#include "NumberText.h"
#include "PlainControls.h"
#include "capture/Module1.h"
#include "platform/AppError.h"
#include "platform/Clipboard.h"
#include "platform/Colors.h"
#include "platform/CommonDialog.h"
#include "platform/Guard.h"
#include "platform/MessageBox.h"
#include "platform/Printer.h"
#include "platform/StartPlace.h"
#include "platform/Twips.h"
#include "platform/WaylandFrame.h"
#include "platform/X11Position.h"

#include <QMouseEvent>
#include <QTimer>

namespace {

const QString circleTrail = QStringLiteral("Cerchio continuo SENZA Click");
const QString dotMode = QStringLiteral("Punto continuo al Clik");
const QString backgroundWarning = QStringLiteral(
    "Attenzione questa impostazione va usata prima di iniziare a disegnare, altrimenti cancella tutto il disegno!");

constexpr unsigned green = 0x00008000;
constexpr float normalWidth = 11970, normalHeight = 8250;
constexpr float printWidth = 8600, printHeight = 8255;
constexpr float trailRadius = 40;
constexpr float clientLeft = 75, clientTop = 915;
constexpr float frameSide = 45, frameAbove = 615; // the design's frame, 90 x 660 around the client area

// Appending to an empty editable list would select its first entry; the
// list keeps the text it shows.
void append(QComboBox *list, const QStringList &entries)
{
    const QString shown = list->currentText();
    list->addItems(entries);
    list->setCurrentIndex(-1);
    list->setEditText(shown);
}

void showValue(QLabel *label, const QScrollBar *bar)
{
    label->setText(QString::number(bar->value()));
    if (label->wordWrap())
        return;
    label->adjustSize();
}

// Takes the keyboard focus off the comment line while it lives, so that its
// caret and focus frame, which belong to the screen alone, stay out of
// prints and copies; the focus then comes back where it was. Left as for a
// menu's popup, the line keeps its selection.
class CaretAway
{
public:
    CaretAway(QWidget &line, QWidget &elsewhere) : m_line(line.hasFocus() ? &line : nullptr)
    {
        if (m_line)
            elsewhere.setFocus(Qt::PopupFocusReason);
    }
    ~CaretAway()
    {
        if (m_line)
            m_line->setFocus();
    }
    CaretAway(const CaretAway &) = delete;
    CaretAway &operator=(const CaretAway &) = delete;

private:
    QWidget *m_line;
};

} // namespace

Form1::Form1(const Platform &platform, QWidget *parent) : QMainWindow(parent), m_platform(platform)
{
    Form1Design::applyWindowFont(*this);
    ui.setupUi(this);
    Form1Design::apply(ui, *this);
    new PlainControls(this, {ui.Combo1, ui.Combo2, ui.Combo3}, {ui.VScroll1, ui.HScroll1, ui.HScroll2, ui.HScroll3});
    connectHandlers();
    Form_Load();
    WaylandFrame::addTo(*this);
    X11Position::follow(*this);
    placeAtStart();
    ui.VScroll1->setFocus();
}

// The normal size, with the client area's top-left corner (the canvas, below
// the menu bar) at the design's place on the primary monitor, or nearer its
// corner where the window with the design's frame would not show whole.
void Form1::placeAtStart()
{
    setSize(normalWidth, normalHeight);
    const auto pixels = [](float twips) { return int(Twips::toPixels(twips)); };
    const QPoint frame(pixels(frameSide), pixels(frameAbove));
    const QRect outer = StartPlace::onPrimaryMonitor(
        QRect(pixels(clientLeft - frameSide), pixels(clientTop - frameAbove), pixels(normalWidth), pixels(normalHeight)));
    setGeometry(QRect(outer.topLeft() + frame - ui.canvas->mapTo(this, QPoint()), size()));
}

template<typename... Args>
auto Form1::handler(void (Form1::*method)(Args...))
{
    return guarded(m_platform.messageBox, [this, method](Args... args) { (this->*method)(args...); });
}

void Form1::connectHandlers()
{
    connect(ui.canvas, &Canvas::mouseDown, this, handler(&Form1::Form_MouseDown));
    connect(ui.canvas, &Canvas::mouseMove, this, handler(&Form1::Form_MouseMove));
    connect(ui.canvas, &Canvas::mouseUp, this, handler(&Form1::Form_MouseUp));
    connect(ui.HScroll1, &QScrollBar::valueChanged, this, handler(&Form1::HScroll1_Change));
    connect(ui.HScroll2, &QScrollBar::valueChanged, this, handler(&Form1::HScroll2_Change));
    connect(ui.HScroll3, &QScrollBar::valueChanged, this, handler(&Form1::HScroll3_Change));
    connect(ui.VScroll1, &QScrollBar::valueChanged, this, handler(&Form1::VScroll1_Change));
    connect(ui.Command1, &QPushButton::clicked, this, handler(&Form1::Command1_Click));
    connect(ui.Command2, &QPushButton::clicked, this, handler(&Form1::Command2_Click));
    connect(ui.Command5, &QPushButton::clicked, this, handler(&Form1::Command5_Click));
    connect(ui.Command4, &QPushButton::clicked, this, handler(&Form1::Command4_Click));
    connect(ui.Command3, &QPushButton::clicked, this, handler(&Form1::Command3_Click));
    connect(ui.Command6, &QPushButton::clicked, this, handler(&Form1::Command6_Click));
    connect(ui.Command7, &QPushButton::clicked, this, handler(&Form1::Command7_Click));
    connect(ui.Command8, &QPushButton::clicked, this, handler(&Form1::Command8_Click));
    connect(ui.Combo3, &QComboBox::activated, this, handler(&Form1::Combo3_Click));
    ui.Text1->installEventFilter(this);
    connect(ui.cds, &QAction::triggered, this, handler(&Form1::cds_Click));
    connect(ui.an, &QAction::triggered, this, handler(&Form1::an_Click));
    connect(ui.s, &QAction::triggered, this, handler(&Form1::s_Click));
    connect(ui.no, &QAction::triggered, this, handler(&Form1::no_Click));
    connect(ui.rid, &QAction::triggered, this, handler(&Form1::rid_Click));
    connect(ui.chi, &QAction::triggered, this, handler(&Form1::chi_Click));
    connect(ui.mnuCopia, &QAction::triggered, this, handler(&Form1::mnuCopia_Click));
    ui.canvas->installEventFilter(this);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui.Text1 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        handler(&Form1::Text1_Click)();
    if (watched == ui.canvas && event->type() == QEvent::Resize)
        fitPanel();
    return QMainWindow::eventFilter(watched, event);
}

void Form1::Form_Load()
{
    ui.rid->setEnabled(false);
    append(ui.Combo1, {dotMode, circleTrail});
    QStringList radii;
    for (int radius = 20; radius <= 500; radius += 10)
        radii << QString::number(radius);
    append(ui.Combo2, radii);
    append(ui.Combo3, {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                       QStringLiteral("5"), QStringLiteral("6")});
}

void Form1::Form_MouseDown(int button, float x, float y)
{
    m_penDown = true;
    ui.canvas->setDrawWidth(ui.VScroll1->value());
    ui.canvas->setForeColor(QColor(ui.HScroll1->value(), ui.HScroll2->value(), ui.HScroll3->value()));
    if (button == Canvas::Right)
        ui.canvas->circle(x, y, NumberText::toSingle(NumberText::leadingValue(ui.Combo2->currentText())));
}

void Form1::Form_MouseMove(int, float x, float y)
{
    if (m_penDown)
        ui.canvas->plotPoint(x, y);
    if (ui.Combo1->currentText() == circleTrail)
        ui.canvas->circle(x, y, trailRadius);
}

void Form1::Form_MouseUp(int, float, float)
{
    m_penDown = false;
}

void Form1::HScroll1_Change() { showValue(ui.Label4, ui.HScroll1); }
void Form1::HScroll2_Change() { showValue(ui.Label5, ui.HScroll2); }
void Form1::HScroll3_Change() { showValue(ui.Label6, ui.HScroll3); }
void Form1::VScroll1_Change() { showValue(ui.Label3, ui.VScroll1); }

void Form1::setColour(int red, int green, int blue)
{
    ui.HScroll1->setValue(red);
    ui.HScroll2->setValue(green);
    ui.HScroll3->setValue(blue);
}

void Form1::Command1_Click() { setColour(255, 255, 255); }
void Form1::Command2_Click() { setColour(0, 0, 0); }

void Form1::Command5_Click()
{
    ui.VScroll1->setValue(1);
    setColour(0, 0, 0);
}

void Form1::Command4_Click()
{
    ui.canvas->lineTo(0, 2000);
}

void Form1::Command3_Click()
{
    ui.canvas->clear();
    ui.Text1->setText(QString());
    // The list's selection follows its text, so the arrow keys step on from the entry shown.
    ui.Combo1->setCurrentIndex(ui.Combo1->findText(dotMode));
    ui.Combo1->setEditText(dotMode);
}

void Form1::Command6_Click()
{
    ui.Shape1->show();
    ui.Shape2->show();
    Form1Design::setBackground(*ui.Command6, green);
    Form1Design::setBackground(*ui.Command7, Colors::ButtonFace);
}

void Form1::Command7_Click()
{
    ui.Shape2->hide();
    ui.Shape1->hide();
    Form1Design::setBackground(*ui.Command7, green);
    Form1Design::setBackground(*ui.Command6, Colors::ButtonFace);
}

void Form1::Combo3_Click()
{
    ui.Shape1->show();
    ui.Shape1->setFillStyle(NumberText::toInteger16(ui.Combo3->currentText()));
    if (NumberText::leadingValue(ui.Combo3->currentText()) == 1)
        ui.Shape1->hide();
}

void Form1::Command8_Click()
{
    quietly([this] {
        if (const std::optional<quint32> colour = m_platform.CommonDialog1.chooseColor())
            ui.Shape1->setFillColor(Colors::toQColor(*colour));
    });
}

void Form1::Text1_Click()
{
    ui.Text1->setText(QString());
}

void Form1::cds_Click()
{
    m_platform.messageBox.show(backgroundWarning);
    quietly([this] {
        const std::optional<quint32> colour = m_platform.CommonDialog1.chooseColor();
        if (!colour)
            return;
        ui.canvas->setBackColor(Colors::toQColor(*colour));
        Form1Design::setBackground(*ui.Text1, *colour);
    });
}

// The height first, as the design sets them.
void Form1::setSize(float width, float height)
{
    m_outerSize.setHeight(height);
    m_outerSize.setWidth(width);
}

// The window keeps the size last set: a window manager that ignores a fixed
// size (icewm) is undone, once its resize is over.
void Form1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (size() != minimumSize())
        QTimer::singleShot(0, this, [this] { resize(minimumSize()); });
}

void Form1::an_Click()
{
    setSize(printWidth, printHeight);
    if (m_outerSize.width() == printWidth)
        ui.mnuCopia->setEnabled(true);
}

void Form1::s_Click()
{
    setSize(printWidth, printHeight);
    printCopies(m_platform.CommonDialog1.askCopies());
    ui.rid->setEnabled(true);
}

// One page per copy, each of the client area as it is shown, all in one job,
// so that a printer writing to a file keeps every copy. When a page fails,
// the pages before it are still sent; whatever failed, the job ends, or no
// later one could begin.
void Form1::printCopies(int copies)
{
    if (copies < 1)
        return;
    QImage page;
    {
        CaretAway away(*ui.Text1, *ui.canvas);
        page = ui.canvas->grab().toImage();
    }
    Printer &printer = m_platform.printer;
    printer.beginJob();
    int printed = 0;
    try {
        for (; printed < copies; ++printed)
            printer.printPage(page);
    } catch (const AppError &e) {
        printer.endJob();
        throw AppError(QStringLiteral("%1\nCopie stampate: %2 di %3.").arg(e.message()).arg(printed).arg(copies));
    } catch (...) {
        printer.endJob();
        throw;
    }
    printer.endJob();
}

void Form1::no_Click()
{
    setSize(normalWidth, normalHeight);
    ui.mnuCopia->setEnabled(false);
}

void Form1::rid_Click()
{
    setSize(normalWidth, normalHeight);
    ui.rid->setEnabled(false);
}

void Form1::chi_Click()
{
    close();
}

void Form1::mnuCopia_Click()
{
    CaretAway away(*ui.Text1, *ui.canvas);
    Module1::CopyToClipboard(*this, *ui.Picture1, m_platform.screenGrab, m_platform.clipboard);
}

// The window manager's frame decides how much of the client area an outer
// size leaves. Where that is too narrow to show most of the panel (the print
// size) the panel goes, so no sliver of it shows or prints beside the drawing.
// Its focus goes to the canvas rather than to the comment box, whose caret
// would blink into prints and copies, and comes back to the control that had
// it, which the panel remembers as its focus child (the thickness bar, as
// at start, if it remembers none).
void Form1::fitPanel()
{
    const QRect panel = ui.Frame1->geometry();
    const bool fits = ui.canvas->width() >= panel.x() + panel.width() / 2;
    if (fits == !ui.Frame1->isHidden())
        return;
    if (!fits && ui.Frame1->isAncestorOf(focusWidget()))
        ui.canvas->setFocus();
    ui.Frame1->setVisible(fits);
    QWidget *last = ui.Frame1->focusWidget();
    if (fits && focusWidget() == ui.canvas)
        (last ? last : ui.VScroll1)->setFocus();
}
