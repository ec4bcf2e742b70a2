#pragma once

#include "CommonDialog.h"

#include <memory>

class QPrinter;

// QColorDialog and QPrintDialog. The chooser opens on the colour it gave last.
class QtCommonDialog : public CommonDialog
{
public:
    QtCommonDialog();
    ~QtCommonDialog() override;

    std::optional<quint32> chooseColor() override;
    int askCopies() override;

    // The printer the dialog configures; made on first use, since finding
    // printers is slow and most sessions never print.
    std::shared_ptr<QPrinter> printer();

private:
    std::shared_ptr<QPrinter> m_printer;
    quint32 m_color = 0;
};
