#pragma once

#include "ChildProcess.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QStringList>

class X11Session;

// The built program running in an X11Session, driven by real X input.
// Positions taken by the input functions are canvas pixels; they record a test
// failure and return false (or a null image) when something goes wrong.
class ProgramUnderTest {
public:
    static constexpr QSize canvasSize{792, 506};

    explicit ProgramUnderTest(X11Session &session);
    ~ProgramUnderTest();

    // Starts it and waits until its window is mapped, framed and no longer moving.
    bool start(const QStringList &args = {});
    void stop();
    bool isRunning() { return m_process.isRunning(); }
    QString exitDescription() { return m_process.exitDescription(); }
    qint64 pid() const { return m_process.pid(); }

    QString windowId() const { return m_windowId; }
    // The window's own area on screen; its top-left is the top-left of the menu bar.
    QRect clientRect() const { return m_client; }
    // The canvas fills the bottom of the window, below the menu bar.
    QRect canvasRect() const;
    QPoint toScreen(QPoint canvasPos) const { return canvasRect().topLeft() + canvasPos; }

    bool activate();
    bool moveTo(QPoint canvasPos);
    bool press(int button = 1);
    bool release(int button = 1);
    bool click(QPoint canvasPos, int times = 1, int button = 1);
    bool key(const QString &keys);
    bool type(const QString &text);

    QImage grabScreen() const;
    QImage grabCanvas() const;

private:
    X11Session &m_session;
    ChildProcess m_process;
    QString m_windowId;
    QRect m_client;
};
