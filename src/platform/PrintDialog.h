#pragma once

#include <QPrintDialog>

// Qt's printer dialog as the window prints: copies of one page, so no page
// range; its Print button first waits, a few seconds at most, for the
// spooler, which Qt then asks on this thread.
class PrintDialog : public QPrintDialog
{
public:
    using QPrintDialog::QPrintDialog;
    void accept() override;
    // Closed because the spooler did not answer.
    bool stalled() const { return m_stalled; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool m_stalled = false;
};
