#include "Form1Design.h"

#include "CommandButton.h"
#include "Cursors.h"
#include "platform/Colors.h"
#include "ui_form1.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QFont>
#include <QLineEdit>
#include <QIcon>
#include <QMenu>

namespace Form1Design {

namespace {

// Naming the installed face that stands in for a design face spares the font
// matcher a failed search per face at start-up.
QFont font(const char *family, double points, bool bold = false)
{
    QFont f(QFont::substitute(QString::fromLatin1(family)));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// The palette roles of a control's text and of what lies behind it, and the
// text colour of its kind where the design gives none.
struct Roles
{
    QPalette::ColorRole text, background;
    quint32 defaultText;
    bool fills; // a label shows its background only where it paints it
};

Roles rolesOf(const QWidget &control)
{
    if (qobject_cast<const QAbstractButton *>(&control))
        return {QPalette::ButtonText, QPalette::Button, Colors::ButtonText, false};
    if (qobject_cast<const QLabel *>(&control))
        return {QPalette::WindowText, QPalette::Window, Colors::ButtonText, true};
    return {QPalette::Text, QPalette::Base, Colors::WindowText, false}; // the text box and the lists
}

// Kept on the control, for a background set at run time.
const char designText[] = "designText";

// The stand-in faces are wider than the design's: a caption takes the largest
// size, up to the design's, at which it fits its box whole.
void fitCaption(QWidget &control, const QRect &box, int flags, const QString &caption)
{
    QFont f = control.font();
    while (f.pointSizeF() > 4 && !box.contains(QFontMetrics(f).boundingRect(box, flags, caption)))
        f.setPointSizeF(f.pointSizeF() - 0.25);
    control.setFont(f);
}

void fitCaptions(QWidget &panel)
{
    for (QLabel *label : panel.findChildren<QLabel *>())
        fitCaption(*label, label->contentsRect(), int(label->alignment()) | Qt::TextWordWrap, label->text());
    for (CommandButton *button : panel.findChildren<CommandButton *>())
        fitCaption(*button, button->captionArea(), CommandButton::captionFlags, button->text());
}

} // namespace

// Where the design fixes one of a control's text and background colours and
// leaves the other to the desktop, that other is the light look's, since a
// dark desktop's would hide the fixed one ("Bianco" in white on its white
// face); where it fixes neither, both follow the desktop.
void setColors(QWidget &control, quint32 text, quint32 background)
{
    const Roles roles = rolesOf(control);
    const bool fixed = !Colors::isSystem(text) || !Colors::isSystem(background);
    QPalette palette; // what it leaves unset, the control takes from its container
    if (fixed) {
        palette.setColor(roles.text, Colors::lightLook(text));
        palette.setColor(roles.background, Colors::lightLook(background));
    }
    control.setPalette(palette);
    control.setAutoFillBackground(roles.fills && fixed);
    control.setProperty(designText, text);
}

void setBackground(QWidget &control, quint32 colour)
{
    const QVariant text = control.property(designText);
    setColors(control, text.isValid() ? text.value<quint32>() : rolesOf(control).defaultText, colour);
}

void applyWindowFont(QWidget &window)
{
    window.setFont(font("MS Sans Serif", 8.25));
}

void apply(Ui::Form1 &ui, QWidget &window)
{
    QIcon icon;
    for (const char *image : {":/icon-16.xpm", ":/icon-32-16.xpm", ":/icon-32.xpm"})
        icon.addFile(QString::fromLatin1(image));
    window.setWindowIcon(icon);
    // Designer keeps no name for a separator: the design's, in menu order.
    QStringList separators{QStringLiteral("spa"), QStringLiteral("ss"), QStringLiteral("ssss")};
    for (QMenu *menu : {ui.f, ui.v})
        for (QAction *item : menu->actions())
            if (item->isSeparator())
                item->setObjectName(separators.takeFirst());

    ui.canvas->setBackColor(Qt::white);
    // The pen of the first circles, on the white paper: the light look's text colour.
    ui.canvas->setForeColor(Colors::lightLook(Colors::ButtonText));
    ui.canvas->setCursor(Cursors::pen());
    ui.Frame1->setCursor(Cursors::panel());
    ui.Frame1->setAttribute(Qt::WA_NoMousePropagation);
    ui.Text1->setAttribute(Qt::WA_NoMousePropagation);

    for (QWidget *button : {ui.Command3, ui.Command1, ui.Command2})
        button->setFont(font("MS Serif", 13.5));
    ui.Command5->setFont(font("MS Serif", 8.25));
    setBackground(*ui.Command1, 0x00FFFFFF);
    setBackground(*ui.Command2, 0x00404040);
    setBackground(*ui.Command6, 0x00C0C0C0);
    setBackground(*ui.Command7, 0x00008000);
    ui.Command1->setCursor(Cursors::white());
    ui.Command2->setCursor(Cursors::black());

    ui.Label7->setFont(font("MS Serif", 8.25));
    ui.Label2->setFont(font("MS Serif", 18, true));
    ui.Label3->setFont(font("MS Serif", 18));
    setColors(*ui.Label3, 0x00000080, Colors::ButtonFace);
    ui.Label1->setFont(font("MS Sans Serif", 12, true));
    for (QWidget *label : {ui.Label4, ui.Label5, ui.Label6})
        label->setFont(font("MS Sans Serif", 12, true));
    setColors(*ui.Label4, 0x000000C0, 0x008080FF);
    setColors(*ui.Label5, 0x0000C000, 0x00C0FFC0);
    setColors(*ui.Label6, 0x00C00000, 0x00FFFFC0);
    fitCaptions(*ui.Frame1);

    ui.VScroll1->setCursor(Cursors::thickness());
    for (QWidget *bar : {ui.HScroll1, ui.HScroll2, ui.HScroll3})
        bar->setCursor(Cursors::colour());
    // The panel's cursor is for its bare surface: controls without one of their own show the arrow.
    for (QWidget *control : ui.Frame1->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (!control->testAttribute(Qt::WA_SetCursor))
            control->setCursor(Qt::ArrowCursor);

    setColors(*ui.Combo1, 0x000000C0, Colors::WindowBackground);
    // On Linux Qt names an editable list after its text, so a screen reader
    // learns what the list is for from its edit field and its description.
    for (QComboBox *list : {ui.Combo1, ui.Combo2, ui.Combo3})
        list->lineEdit()->setAccessibleName(list->accessibleDescription());
    ui.Label7->setBuddy(ui.Combo2);
    ui.Text1->setFont(font("Comic Sans MS", 12));
    setColors(*ui.Text1, 0x00400000, Colors::WindowBackground);
}

} // namespace Form1Design
