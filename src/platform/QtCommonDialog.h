#pragma once

#include "CommonDialog.h"

#include <memory>

class QPrinter;

// QColorDialog and QPrintDialog. A cancelled chooser reports Cancelled;
// a cancelled printer dialog reports no copies, so nothing is printed.
class QtCommonDialog : public CommonDialog
{
public:
    QtCommonDialog();
    ~QtCommonDialog() override;

    void setDialogKind(qint16 kind) override;
    qint32 checkValue() const override { return m_checkValue; }
    qint32 chosenColor() const override { return m_color; }
    void openPrinterDialog() override;
    qint16 copyCount() const override { return m_copies; }

    // The printer the dialog configures; made on first use, since finding
    // printers is slow and most sessions never print.
    QPrinter &printer();

private:
    std::unique_ptr<QPrinter> m_printer;
    qint32 m_checkValue = 0;
    qint32 m_color = 0;
    qint16 m_copies = 1;
};
