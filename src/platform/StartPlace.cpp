#include "StartPlace.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace StartPlace {

QRect onPrimaryMonitor(const QRect &outer)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return outer;
    const QRect monitor = screen->geometry();
    QRect placed = outer.translated(monitor.topLeft());
    placed.moveRight(std::min(placed.right(), monitor.right()));
    placed.moveBottom(std::min(placed.bottom(), monitor.bottom()));
    // Too large for the monitor, it keeps its caption there.
    placed.moveLeft(std::max(placed.left(), monitor.left()));
    placed.moveTop(std::max(placed.top(), monitor.top()));
    return placed;
}

} // namespace StartPlace
