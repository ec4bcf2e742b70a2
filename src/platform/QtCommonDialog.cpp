#include "QtCommonDialog.h"

#include "Colors.h"

#include <QApplication>
#include <QColorDialog>
#include <QPrintDialog>
#include <QPrinter>

QtCommonDialog::QtCommonDialog() = default;
QtCommonDialog::~QtCommonDialog() = default;

QPrinter &QtCommonDialog::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
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
    QPrintDialog dialog(&printer(), QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    const int copies = m_printer->copyCount();
    // The pages are printed once per copy by the program; the spooler must not multiply them.
    m_printer->setCopyCount(1);
    return copies;
}
