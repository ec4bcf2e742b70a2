#include "X11Session.h"

#include "Poll.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtTest/QTest>

#include <cerrno>
#include <csignal>

namespace {

void fail(const QString &message)
{
    QTest::qFail(qPrintable(message), __FILE__, __LINE__);
}

// Whether display n is taken. A lock left by a server that was killed does not
// count: Xvfb replaces such a lock and its socket by itself.
bool displayTaken(int n)
{
    QFile lock(QStringLiteral("/tmp/.X%1-lock").arg(n));
    if (lock.open(QIODevice::ReadOnly)) {
        const pid_t owner = pid_t(lock.readAll().trimmed().toLongLong());
        return owner <= 0 || ::kill(owner, 0) == 0 || errno != ESRCH;
    }
    return QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n));
}

int intField(const QString &text, const QString &label)
{
    const QRegularExpression re(QRegularExpression::escape(label) + QStringLiteral(":\\s*(-?\\d+)"));
    const auto m = re.match(text);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace

X11Session::X11Session() = default;

X11Session::~X11Session()
{
    stop();
}

bool X11Session::start(int width, int height)
{
    if (!m_dir.isValid()) {
        fail(QStringLiteral("no temporary directory: %1").arg(m_dir.errorString()));
        return false;
    }
    // Settings, caches and runtime files of everything started here stay inside
    // the session, so one test cannot leak state into the next.
    for (const char *sub : {"config", "cache", "data", "runtime"})
        QDir(m_dir.path()).mkdir(QLatin1String(sub));
    QFile::setPermissions(m_dir.filePath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    m_env = QProcessEnvironment::systemEnvironment();
    for (const char *var : {"DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "SESSION_MANAGER",
                            "DBUS_SESSION_BUS_ADDRESS", "QT_QPA_PLATFORM", "DESKTOP_SESSION",
                            "XDG_CURRENT_DESKTOP", "XDG_SESSION_TYPE"})
        m_env.remove(QLatin1String(var));
    m_env.insert("XDG_CONFIG_HOME", m_dir.filePath("config"));
    m_env.insert("XDG_CACHE_HOME", m_dir.filePath("cache"));
    m_env.insert("XDG_DATA_HOME", m_dir.filePath("data"));
    m_env.insert("XDG_RUNTIME_DIR", m_dir.filePath("runtime"));

    return startServer(width, height) && startWindowManager();
}

bool X11Session::startServer(int width, int height)
{
    // Numbers from 100 up stay clear of displays people use by hand. Xvfb's own
    // -displayfd would pick a free one too, but takes no lock file, so other
    // tools scanning /tmp/.X<n>-lock could then collide with it.
    for (int number = 100; number < 200; ++number) {
        if (displayTaken(number))
            continue;
        m_display = ':' + QString::number(number);
        m_env.insert("DISPLAY", m_display);
        m_server = std::make_unique<ChildProcess>(QStringLiteral("Xvfb"));
        const QStringList args{m_display, "-screen", "0", QStringLiteral("%1x%2x24").arg(width).arg(height),
                               "-nolisten", "tcp", "-noreset"};
        if (!m_server->start("Xvfb", args, m_env, {m_dir.filePath("xvfb.log")}))
            return false;
        CommandResult info;
        pollUntil([&] {
            return !m_server->isRunning() || (info = run("xdpyinfo", {})).ok();
        }, 20000);
        // A server that quit lost a race for this number to another one.
        if (!m_server->isRunning())
            continue;
        if (!info.ok()) {
            fail(info.describe("xdpyinfo", {}) + "; " + m_server->exitDescription());
            return false;
        }
        return true;
    }
    fail(QStringLiteral("no free X display number; last attempt: %1")
             .arg(m_server ? m_server->exitDescription() : QString()));
    return false;
}

bool X11Session::startWindowManager()
{
    m_windowManager = std::make_unique<ChildProcess>(QStringLiteral("openbox"));
    if (!m_windowManager->start("openbox", {"--sm-disable"}, m_env, {m_dir.filePath("openbox.log")}))
        return false;
    // openbox sets this root property once it has taken over the screen.
    const bool managed = pollUntil([this] {
        return !m_windowManager->isRunning()
            || run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).stdOut().contains("window id #");
    }, 20000) && m_windowManager->isRunning();
    if (!managed)
        fail(QStringLiteral("openbox did not take over %1: %2")
                 .arg(m_display, m_windowManager->exitDescription()));
    return managed;
}

void X11Session::stop()
{
    // The window manager first: it is a client of the server.
    if (m_windowManager)
        m_windowManager->stop();
    if (m_server)
        m_server->stop();
}

qint64 X11Session::serverPid() const
{
    return m_server ? m_server->pid() : 0;
}

qint64 X11Session::windowManagerPid() const
{
    return m_windowManager ? m_windowManager->pid() : 0;
}

CommandResult X11Session::run(const QString &program, const QStringList &args) const
{
    return runCommand(program, args, m_env);
}

std::optional<QString> X11Session::xdotool(const QStringList &args) const
{
    const CommandResult r = run("xdotool", args);
    if (!r.ok()) {
        fail(r.describe("xdotool", args));
        return std::nullopt;
    }
    return r.stdOut();
}

QStringList X11Session::visibleWindows(qint64 pid, const QString &namePattern) const
{
    QStringList args{"search", "--onlyvisible", "--pid", QString::number(pid)};
    // Without --all, xdotool matches windows that meet any one criterion.
    if (!namePattern.isEmpty())
        args << "--all" << "--name" << namePattern;
    // Exit status 1 just means nothing matched yet.
    return run("xdotool", args).stdOut().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

std::optional<QString> X11Session::waitForWindow(qint64 pid, const QString &namePattern, int timeoutMs)
{
    QStringList found;
    // Faster than "search --sync", which only looks every half second.
    pollUntil([&] { return !(found = visibleWindows(pid, namePattern)).isEmpty(); }, timeoutMs);
    if (found.size() != 1) {
        fail(QStringLiteral("expected one visible window of pid %1 named /%2/, found %3")
                 .arg(pid).arg(namePattern).arg(found.size()));
        return std::nullopt;
    }
    return found.first();
}

bool X11Session::activate(const QString &windowId) const
{
    return xdotool({"windowactivate", "--sync", windowId}).has_value();
}

std::optional<QRect> X11Session::clientGeometry(const QString &windowId) const
{
    // xwininfo, not "xdotool getwindowgeometry": the latter adds the frame offset
    // twice once openbox has reparented the window.
    const CommandResult r = run("xwininfo", {"-id", windowId});
    if (!r.ok()) {
        fail(r.describe("xwininfo", {"-id", windowId}));
        return std::nullopt;
    }
    const QString text = r.stdOut();
    return QRect(intField(text, "Absolute upper-left X"), intField(text, "Absolute upper-left Y"),
                 intField(text, "Width"), intField(text, "Height"));
}

bool X11Session::hasFrame(const QString &windowId) const
{
    return run("xprop", {"-id", windowId, "_NET_FRAME_EXTENTS"}).stdOut().contains(" = ");
}

QImage X11Session::screenshot() const
{
    const QStringList args{"-window", "root", "png:-"};
    const CommandResult r = run("import", args);
    QImage image;
    if (!r.ok() || !image.loadFromData(r.out, "PNG")) {
        fail(r.describe("import", args));
        return {};
    }
    return image.convertToFormat(QImage::Format_RGB32);
}
