#include "ProgramUnderTest.h"

#include "Poll.h"
#include "X11Session.h"

#include <QtTest/QTest>

namespace {
const QString windowTitle = QStringLiteral("^Pittorello 1$");
}

ProgramUnderTest::ProgramUnderTest(X11Session &session)
    : m_session(session), m_process(QStringLiteral("pittorello"))
{
}

ProgramUnderTest::~ProgramUnderTest()
{
    stop();
}

bool ProgramUnderTest::start(const QStringList &args)
{
    QProcessEnvironment env = m_session.environment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    if (!m_process.start(QStringLiteral(PITTORELLO_EXE), args, env))
        return false;

    const auto id = m_session.waitForWindow(m_process.pid(), windowTitle, 20000);
    if (!id) {
        QTest::qFail(qPrintable(m_process.exitDescription()), __FILE__, __LINE__);
        return false;
    }
    m_windowId = *id;

    // openbox reparents and places the window just after it is mapped; take
    // its position only once it is framed and has stopped moving.
    QRect previous;
    const bool settled = pollUntil([&] {
        if (!m_session.hasFrame(m_windowId))
            return false;
        const auto now = m_session.clientGeometry(m_windowId);
        const bool same = now && *now == previous;
        previous = now.value_or(QRect());
        return same;
    }, 10000, 60);
    if (!settled) {
        QTest::qFail("the program's window never settled on screen", __FILE__, __LINE__);
        return false;
    }
    m_client = previous;
    return true;
}

void ProgramUnderTest::stop()
{
    m_process.stop(3000);
}

QRect ProgramUnderTest::canvasRect() const
{
    return QRect(QPoint(m_client.left(), m_client.bottom() + 1 - canvasSize.height()), canvasSize);
}

bool ProgramUnderTest::activate()
{
    return m_session.activate(m_windowId);
}

bool ProgramUnderTest::moveTo(QPoint canvasPos)
{
    const QPoint p = toScreen(canvasPos);
    return m_session.xdotool({"mousemove", "--sync", QString::number(p.x()), QString::number(p.y())})
        .has_value();
}

bool ProgramUnderTest::press(int button)
{
    return m_session.xdotool({"mousedown", QString::number(button)}).has_value();
}

bool ProgramUnderTest::release(int button)
{
    return m_session.xdotool({"mouseup", QString::number(button)}).has_value();
}

bool ProgramUnderTest::click(QPoint canvasPos, int times, int button)
{
    const QPoint p = toScreen(canvasPos);
    return m_session.xdotool({"mousemove", "--sync", QString::number(p.x()), QString::number(p.y()),
                              "click", "--repeat", QString::number(times), "--delay", "30",
                              QString::number(button)})
        .has_value();
}

bool ProgramUnderTest::key(const QString &keys)
{
    return m_session.xdotool({"key", "--clearmodifiers", keys}).has_value();
}

bool ProgramUnderTest::type(const QString &text)
{
    return m_session.xdotool({"type", "--delay", "20", text}).has_value();
}

QImage ProgramUnderTest::grabScreen() const
{
    return m_session.screenshot();
}

QImage ProgramUnderTest::grabCanvas() const
{
    const QImage screen = m_session.screenshot();
    return screen.isNull() ? screen : screen.copy(canvasRect());
}
