#pragma once

#include <QList>
#include <QObject>

class QComboBox;
class QScrollBar;

// Turns off what Qt's controls do beyond the design, since each of these
// would change a value, a mode or the drawing behind the user's back:
// completion and picking by typed text in the lists, the wheel over a list that does not
// have the focus, and the scroll bars' wheel, middle click and context menu.
// The lists still change by typing, by picking an entry, and by the arrow
// keys and the wheel while they have the focus; the bars by their arrows,
// track, thumb and keyboard.
class PlainControls : public QObject
{
public:
    PlainControls(QObject *owner, const QList<QComboBox *> &lists, const QList<QScrollBar *> &bars);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
