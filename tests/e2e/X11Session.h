#pragma once

#include "ChildProcess.h"
#include "Command.h"

#include <QImage>
#include <QProcessEnvironment>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>

// A private X display: Xvfb on a free display number with openbox managing it.
// Everything run through it gets only this display, never the caller's DISPLAY.
// Failing calls record a test failure with the tool's stderr and return an
// empty result, so callers just QVERIFY the result.
class X11Session {
public:
    X11Session();
    ~X11Session();
    X11Session(const X11Session &) = delete;
    X11Session &operator=(const X11Session &) = delete;

    bool start(int width = 1280, int height = 1024);
    void stop();

    QString display() const { return m_display; }
    QProcessEnvironment environment() const { return m_env; }
    // For services the test adds to the session, such as a message bus.
    void setVariable(const QString &name, const QString &value) { m_env.insert(name, value); }
    qint64 serverPid() const;
    qint64 windowManagerPid() const;

    CommandResult run(const QString &program, const QStringList &args) const;
    std::optional<QString> xdotool(const QStringList &args) const;

    // Visible top-level windows owned by pid whose name matches namePattern (a regex).
    QStringList visibleWindows(qint64 pid, const QString &namePattern = QString()) const;
    std::optional<QString> waitForWindow(qint64 pid, const QString &namePattern, int timeoutMs);
    bool activate(const QString &windowId) const;
    // The window's own area (no decorations) in root coordinates.
    std::optional<QRect> clientGeometry(const QString &windowId) const;
    bool hasFrame(const QString &windowId) const;
    QImage screenshot() const;

private:
    bool startServer(int width, int height);
    bool startWindowManager();

    QTemporaryDir m_dir;
    QString m_display;
    QProcessEnvironment m_env;
    std::unique_ptr<ChildProcess> m_server;
    std::unique_ptr<ChildProcess> m_windowManager;
};
