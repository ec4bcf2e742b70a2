#include "Spooler.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <cups/cups.h>

namespace {
constexpr int deadlineMs = 5000;
}

bool Spooler::finishes(std::function<void()> call)
{
    QEventLoop loop;
    bool done = false;
    // Never deleted while it runs: it deletes itself once the call returns.
    QThread *thread = QThread::create(std::move(call));
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    QObject::connect(thread, &QThread::finished, &loop, [&] {
        done = true;
        loop.quit();
    });
    QTimer::singleShot(deadlineMs, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return done;
}

bool Spooler::answers()
{
    return finishes([] { ippDelete(cupsDoRequest(CUPS_HTTP_DEFAULT, ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), "/")); });
}

AppError Spooler::notAnswering()
{
    return AppError(QStringLiteral("Il servizio di stampa non risponde: la stampa è stata abbandonata. "
                                   "Il disegno è intatto."));
}

QString Spooler::jobError(const QString &printer)
{
    const ipp_status_t status = cupsLastError();
    if (status <= IPP_STATUS_OK_EVENTS_COMPLETE)
        return {};
    if (status == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS)
        return QStringLiteral("La stampante \"%1\" non accetta lavori: nessuna copia stampata.").arg(printer);
    return QStringLiteral("La stampa su \"%1\" non è riuscita (%2): nessuna copia stampata.")
        .arg(printer, QString::fromUtf8(cupsLastErrorString()));
}
