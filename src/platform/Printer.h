#pragma once

class QImage;

// Prints one page holding the image, fitted to the page, as a job of its own.
class Printer
{
public:
    virtual ~Printer() = default;
    virtual void printPage(const QImage &image) = 0;
};
