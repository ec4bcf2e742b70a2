#pragma once

#include "MessageBox.h"

class QtMessageBox : public MessageBox
{
public:
    void show(const QString &text) override;
};
