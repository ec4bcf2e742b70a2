#pragma once

class QImage;

class Clipboard
{
public:
    virtual ~Clipboard() = default;
    // Removes every format the clipboard holds.
    virtual void clear() = 0;
    virtual void setImage(const QImage &image) = 0;
};
