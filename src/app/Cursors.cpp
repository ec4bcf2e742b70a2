#include "Cursors.h"

#include <QPixmap>

namespace Cursors {

static QCursor load(const char *name, int hotX, int hotY)
{
    return QCursor(QPixmap(QString::fromLatin1(":/%1.xpm").arg(QLatin1String(name))), hotX, hotY);
}

QCursor pen() { return load("cursor-pen", 7, 7); }
QCursor white() { return load("cursor-white", 16, 14); }
QCursor black() { return load("cursor-black", 15, 15); }
QCursor thickness() { return load("cursor-thickness", 0, 0); }
QCursor colour() { return load("cursor-colour", 0, 0); }
QCursor panel() { return load("cursor-panel", 0, 0); }

} // namespace Cursors
