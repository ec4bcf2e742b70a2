#pragma once

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QObject>
#include <QRegion>
#include <functional>

// A repaint costs far more than a dot: while motions keep coming, the screen
// follows the drawing at most once an interval, with the region touched in
// between, and at once after a pause.
class RepaintThrottle : public QObject
{
public:
    using Repaint = std::function<void(const QRegion &)>;

    explicit RepaintThrottle(Repaint repaint, qint64 intervalNs = 3'000'000);

    // Drawn, to be repainted.
    void touched(const QRegion &region);
    // Repaints all that is pending now.
    void flush();

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    Repaint m_repaint;
    qint64 m_interval;
    QRegion m_pending;
    QRect m_flushed; // repainted last time
    unsigned m_flushes = 0;
    QBasicTimer m_timer;
    QElapsedTimer m_sinceFlush;
};
