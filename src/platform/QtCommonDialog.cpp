#include "QtCommonDialog.h"

#include "Colors.h"
#include "PrintDialog.h"
#include "Spooler.h"

#include <QApplication>
#include <QColorDialog>
#include <QPrinter>
#include <QPrinterInfo>

QtCommonDialog::QtCommonDialog() = default;
QtCommonDialog::~QtCommonDialog() = default;

std::shared_ptr<QPrinter> QtCommonDialog::printer()
{
    // A job left to a spooler that did not answer keeps its printer.
    if (!m_printer || m_printer.use_count() > 1) {
        m_printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
        // The queue's own paper, where Qt would start on its locale's.
        const QPageSize paper = QPrinterInfo(*m_printer).defaultPageSize();
        if (paper.isValid())
            m_printer->setPageSize(paper);
    }
    return m_printer;
}

std::optional<quint32> QtCommonDialog::chooseColor()
{
    // Qt's own chooser, in Italian with its RGB and HTML fields, rather than a
    // desktop theme's, which may be neither.
    const QColor color = QColorDialog::getColor(Colors::toQColor(m_color), QApplication::activeWindow(), QString(),
                                                QColorDialog::DontUseNativeDialog);
    if (!color.isValid())
        return std::nullopt;
    m_color = Colors::fromQColor(color);
    return m_color;
}

int QtCommonDialog::askCopies()
{
    // Qt finds the printers by asking the spooler on this thread.
    if (!Spooler::answers())
        throw Spooler::notAnswering();
    PrintDialog dialog(printer().get(), QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) {
        if (dialog.stalled())
            throw Spooler::notAnswering();
        return 0;
    }
    const int copies = m_printer->copyCount();
    // The pages are printed once per copy by the program; the spooler must not multiply them.
    m_printer->setCopyCount(1);
    return copies;
}
