#pragma once

#include <QString>

// A modal message box with an OK button alone, titled with the program's name.
class MessageBox
{
public:
    virtual ~MessageBox() = default;
    virtual void show(const QString &text) = 0;
};
