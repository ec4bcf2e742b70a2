#include "PrintDialog.h"

#include "Spooler.h"

void PrintDialog::accept()
{
    setEnabled(false); // shows the wait
    m_stalled = !Spooler::answers();
    setEnabled(true);
    if (m_stalled)
        reject();
    else
        QPrintDialog::accept();
}

void PrintDialog::showEvent(QShowEvent *event)
{
    QPrintDialog::showEvent(event);
    // Qt shows its range and page set whenever CUPS could apply them, and
    // on copies of one page they would only drop copies.
    if (QWidget *range = findChild<QWidget *>(QStringLiteral("gbPrintRange")))
        range->hide();
}
