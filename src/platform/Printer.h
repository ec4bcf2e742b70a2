#pragma once

class QImage;

// One print job at a time: its pages go out together, as one document, when
// it ends. Each step throws AppError when it fails; a job begun must be
// ended, whatever failed in between.
class Printer
{
public:
    virtual ~Printer() = default;
    virtual void beginJob() = 0;
    // A page holding the image, fitted to the page.
    virtual void printPage(const QImage &image) = 0;
    // Sends the pages printed so far.
    virtual void endJob() = 0;
};
