#include "QtCommonDialog.h"

#include "AppError.h"
#include "Colors.h"

#include <QApplication>
#include <QColorDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <limits>

QtCommonDialog::QtCommonDialog() = default;
QtCommonDialog::~QtCommonDialog() = default;

QPrinter &QtCommonDialog::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void QtCommonDialog::setDialogKind(qint16 kind)
{
    if (kind != ColorKind)
        throw AppError(QStringLiteral("Tipo di finestra di dialogo non disponibile: %1").arg(kind));
    const QColor color = QColorDialog::getColor(Colors::toQColor(quint32(m_color)), QApplication::activeWindow());
    if (!color.isValid()) {
        m_checkValue = Cancelled;
        return;
    }
    m_checkValue = 0;
    m_color = qint32(Colors::fromQColor(color));
}

void QtCommonDialog::openPrinterDialog()
{
    QPrintDialog dialog(&printer(), QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) {
        m_copies = 0;
        return;
    }
    m_copies = qint16(qMin(m_printer->copyCount(), int(std::numeric_limits<qint16>::max())));
    // The pages are printed once per copy by the program; the spooler must not multiply them.
    m_printer->setCopyCount(1);
}
