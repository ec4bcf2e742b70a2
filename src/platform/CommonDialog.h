#pragma once

#include <QtGlobal>
#include <optional>

// The colour chooser and the printer dialog, reached as one component; both
// are modal and return when the user closes them.
class CommonDialog
{
public:
    virtual ~CommonDialog() = default;

    // The colour picked, 0x00BBGGRR; none when the chooser was cancelled.
    virtual std::optional<quint32> chooseColor() = 0;
    // The number of copies to print on the printer chosen; 0 when cancelled.
    virtual int askCopies() = 0;
};
