#include "ProgramWindows.h"

#include "Poll.h"
#include "ProgramUnderTest.h"
#include "X11Session.h"

#include <QtTest/QTest>

namespace {

const QString chooserTitle = QStringLiteral("^Seleziona colore$");
const int timeoutMs = 10000;

bool waitOpen(X11Session &session, ProgramUnderTest &program)
{
    QStringList found;
    if (pollUntil([&] { return (found = ProgramWindows::visible(session, program, chooserTitle)).size() == 1; },
                  timeoutMs))
        return session.activate(found.first());
    QTest::qFail("the colour chooser did not open", __FILE__, __LINE__);
    return false;
}

bool waitClosed(X11Session &session, ProgramUnderTest &program)
{
    if (pollUntil([&] { return ProgramWindows::visible(session, program, chooserTitle).isEmpty(); }, timeoutMs))
        return true;
    QTest::qFail("the colour chooser did not close", __FILE__, __LINE__);
    return false;
}

} // namespace

namespace ProgramWindows {

QStringList visible(X11Session &session, const ProgramUnderTest &program, const QString &title)
{
    return session.visibleWindows(program.pid(), title);
}

bool waitForCount(X11Session &session, const ProgramUnderTest &program, int count)
{
    if (pollUntil([&] { return visible(session, program).size() >= count; }, timeoutMs))
        return true;
    QTest::qFail(qPrintable(QStringLiteral("the program never showed %1 windows").arg(count)), __FILE__, __LINE__);
    return false;
}

bool chooseColour(X11Session &session, ProgramUnderTest &program, const QString &html)
{
    // Alt+H is the access key of the "HTML:" field.
    return waitOpen(session, program) && program.key("alt+h") && program.key("ctrl+a") && program.type(html)
        && program.key("Return") && waitClosed(session, program);
}

bool cancelColour(X11Session &session, ProgramUnderTest &program)
{
    return waitOpen(session, program) && program.key("Escape") && waitClosed(session, program);
}

} // namespace ProgramWindows
