#pragma once

#include "Printer.h"

class QtCommonDialog;

// Prints on the printer that the printer dialog configured.
class QtPrinter : public Printer
{
public:
    explicit QtPrinter(QtCommonDialog &dialog) : m_dialog(dialog) {}
    void printPage(const QImage &image) override;

private:
    QtCommonDialog &m_dialog;
};
