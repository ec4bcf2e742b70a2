#pragma once

#include "Printer.h"

#include <QPainter>

class QtCommonDialog;

// Prints on the printer that the printer dialog configured.
class QtPrinter : public Printer
{
public:
    explicit QtPrinter(QtCommonDialog &dialog) : m_dialog(dialog) {}
    void beginJob() override;
    void printPage(const QImage &image) override;
    bool endJob() override;

private:
    QtCommonDialog &m_dialog;
    QPainter m_painter;
    int m_pages = 0;
};
