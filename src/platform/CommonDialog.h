#pragma once

#include <QtGlobal>

// The colour chooser and the printer dialog, reached as one component.
class CommonDialog
{
public:
    static constexpr qint16 ColorKind = 3;
    static constexpr qint32 Cancelled = 3;

    virtual ~CommonDialog() = default;

    // Writing ColorKind opens the colour chooser; it returns when the chooser closes.
    virtual void setDialogKind(qint16 kind) = 0;
    // Cancelled after a chooser that yielded no colour.
    virtual qint32 checkValue() const = 0;
    // 0x00BBGGRR.
    virtual qint32 chosenColor() const = 0;

    virtual void openPrinterDialog() = 0;
    virtual qint16 copyCount() const = 0;
};
