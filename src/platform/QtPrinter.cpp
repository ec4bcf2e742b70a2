#include "QtPrinter.h"

#include "AppError.h"
#include "QtCommonDialog.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>

void QtPrinter::printPage(const QImage &image)
{
    QPrinter &printer = m_dialog.printer();
    if (!printer.isValid())
        throw AppError(QStringLiteral("Nessuna stampante disponibile: la stampa non è possibile."));
    QPainter painter;
    if (!painter.begin(&printer))
        throw AppError(QStringLiteral("Impossibile avviare la stampa su \"%1\".").arg(printer.printerName()));
    const QRect page = painter.viewport();
    const QSize fitted = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(page.topLeft(), fitted), image);
    if (!painter.end())
        throw AppError(QStringLiteral("La stampante \"%1\" ha rifiutato la pagina.").arg(printer.printerName()));
}
