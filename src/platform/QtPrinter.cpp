#include "QtPrinter.h"

#include "AppError.h"
#include "QtCommonDialog.h"

#include <QImage>
#include <QPrinter>

void QtPrinter::beginJob()
{
    QPrinter &printer = m_dialog.printer();
    if (!printer.isValid())
        throw AppError(QStringLiteral("Nessuna stampante disponibile: la stampa non è possibile."));
    if (!m_painter.begin(&printer))
        throw AppError(QStringLiteral("Impossibile avviare la stampa su \"%1\".").arg(printer.printerName()));
    m_pages = 0;
}

void QtPrinter::printPage(const QImage &image)
{
    QPrinter &printer = m_dialog.printer();
    if (m_pages > 0 && !printer.newPage())
        throw AppError(QStringLiteral("La stampante \"%1\" ha rifiutato la pagina.").arg(printer.printerName()));
    const QRect page = m_painter.viewport();
    m_painter.drawImage(QRect(page.topLeft(), image.size().scaled(page.size(), Qt::KeepAspectRatio)), image);
    ++m_pages;
}

bool QtPrinter::endJob()
{
    return !m_painter.isActive() || m_painter.end();
}
