#pragma once

#include "Printer.h"

#include <memory>

class QtCommonDialog;

// Prints on the printer that the printer dialog configured.
class QtPrinter : public Printer
{
public:
    explicit QtPrinter(QtCommonDialog &dialog);
    ~QtPrinter() override;
    void beginJob() override;
    void printPage(const QImage &image) override;
    void endJob() override;

private:
    struct Job;
    QtCommonDialog &m_dialog;
    std::shared_ptr<Job> m_job;
};
