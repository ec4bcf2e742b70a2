#include "RepaintThrottle.h"

#include <QTimerEvent>

RepaintThrottle::RepaintThrottle(Repaint repaint, qint64 intervalNs)
    : m_repaint(std::move(repaint)), m_interval(intervalNs)
{
}

void RepaintThrottle::touched(const QRegion &region)
{
    m_pending += region;
    if (m_timer.isActive())
        return;
    const qint64 waited = m_sinceFlush.isValid() ? m_sinceFlush.nsecsElapsed() : m_interval;
    if (waited >= m_interval)
        flush();
    else
        m_timer.start(int((m_interval - waited) / 1'000'000) + 1, Qt::PreciseTimer, this);
}

// On X11 Qt keeps every area it has sent to the display server until a
// repaint overlaps one of them (it then waits for the server), and a
// stroke's dots seldom overlap: now and then a repaint takes in the one
// before, so that the list stays short.
void RepaintThrottle::flush()
{
    m_timer.stop();
    if (m_pending.isEmpty())
        return;
    const QRect flushed = m_pending.boundingRect();
    m_repaint(++m_flushes % 32 ? m_pending : m_pending | m_flushed);
    m_pending = QRegion();
    m_flushed = flushed;
    m_sinceFlush.start();
}

void RepaintThrottle::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_timer.timerId())
        flush();
    else
        QObject::timerEvent(event);
}
