#include "PlainControls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>

PlainControls::PlainControls(QObject *owner, const QList<QComboBox *> &lists, const QList<QScrollBar *> &bars)
    : QObject(owner)
{
    for (QComboBox *list : lists) {
        list->setCompleter(nullptr);
        // Enter or leaving the field would pick the entry matching the typed
        // text: an entry is picked from the list alone.
        QObject::disconnect(list->lineEdit(), &QLineEdit::editingFinished, list, nullptr);
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
    default:
        return false;
    }
}
