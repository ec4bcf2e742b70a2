#include "PlainControls.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

PlainControls::PlainControls(QObject *owner, const QList<QComboBox *> &lists, const QList<QScrollBar *> &bars)
    : QObject(owner)
{
    for (QComboBox *list : lists) {
        list->setCompleter(nullptr);
        list->installEventFilter(this);
    }
    for (QScrollBar *bar : bars) {
        bar->setContextMenuPolicy(Qt::PreventContextMenu);
        bar->installEventFilter(this);
    }
}

bool PlainControls::eventFilter(QObject *watched, QEvent *event)
{
    const bool bar = qobject_cast<QScrollBar *>(watched);
    switch (event->type()) {
    case QEvent::Wheel:
        return bar || !static_cast<QWidget *>(watched)->hasFocus();
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return bar && static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton;
    case QEvent::KeyPress: {
        // Enter would pick the entry matching the typed text: a list's entry
        // is picked from its open list alone.
        const int key = static_cast<QKeyEvent *>(event)->key();
        return !bar && (key == Qt::Key_Return || key == Qt::Key_Enter);
    }
    default:
        return false;
    }
}
