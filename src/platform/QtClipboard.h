#pragma once

#include "Clipboard.h"

class QtClipboard : public Clipboard
{
public:
    void clear() override;
    void setImage(const QImage &image) override;
};
