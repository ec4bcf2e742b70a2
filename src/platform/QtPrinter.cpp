#include "QtPrinter.h"

#include "AppError.h"
#include "QtCommonDialog.h"
#include "Spooler.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>

// Shared with the thread that sends it, which may outlive the wait for it.
struct QtPrinter::Job
{
    std::shared_ptr<QPrinter> printer;
    QPainter painter;
    int pages = 0;
    QString error;
};

QtPrinter::QtPrinter(QtCommonDialog &dialog) : m_dialog(dialog) {}
QtPrinter::~QtPrinter() = default;

void QtPrinter::beginJob()
{
    auto job = std::make_shared<Job>();
    job->printer = m_dialog.printer();
    QPrinter &printer = *job->printer;
    if (!printer.isValid())
        throw AppError(QStringLiteral("Nessuna stampante disponibile: la stampa non è possibile."));
    if (!job->painter.begin(&printer))
        throw AppError(QStringLiteral("Impossibile avviare la stampa su \"%1\".").arg(printer.printerName()));
    // The window's own pixels: Qt would store the image as a JPEG.
    job->painter.setRenderHint(QPainter::LosslessImageRendering);
    m_job = std::move(job);
}

void QtPrinter::printPage(const QImage &image)
{
    QPrinter &printer = *m_job->printer;
    if (m_job->pages > 0 && !printer.newPage())
        throw AppError(QStringLiteral("La stampante \"%1\" ha rifiutato la pagina.").arg(printer.printerName()));
    // Whole inside the printable area, centred; the painter starts at its
    // top-left corner. In points: Qt puts the margins in device pixels on
    // the exact paper, a fraction of a point wider than the area the printer
    // reports on its whole-point paper.
    const QRectF area = printer.pageLayout().paintRect(QPageLayout::Point);
    const QSizeF size = area.size() * (printer.resolution() / 72.0);
    QRectF target(QPointF(), QSizeF(image.size()).scaled(size, Qt::KeepAspectRatio));
    target.moveCenter(QPointF(size.width(), size.height()) / 2);
    m_job->painter.drawImage(target, image);
    ++m_job->pages;
}

void QtPrinter::endJob()
{
    const std::shared_ptr<Job> job = std::exchange(m_job, nullptr);
    if (!job)
        return;
    const QString name = job->printer->printerName();
    const bool spooled = job->printer->outputFileName().isEmpty();
    // Sending the job waits on the spooler. Qt ends a job the spooler refused
    // as if printed: libcups's last error on the sending thread tells.
    const bool sent = Spooler::finishes([job, name, spooled] {
        if (!job->painter.end())
            job->error = QStringLiteral("La stampante ha rifiutato il lavoro: nessuna copia stampata.");
        else if (spooled)
            job->error = Spooler::jobError(name);
    });
    if (!sent)
        throw AppError(QStringLiteral("Il servizio di stampa non risponde: la stampa è stata abbandonata e non "
                                      "sarà ripetuta (potrebbe uscire quando il servizio riprende). Il disegno è intatto."));
    if (!job->error.isEmpty())
        throw AppError(job->error);
}
