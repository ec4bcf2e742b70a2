#pragma once

#include <QGroupBox>

// A group box on a face of its own, the desktop's button face, whose caption
// sits on its top border at the top-left, as group boxes usually draw it,
// rather than on a row of its own above the border.
class GroupBox : public QGroupBox
{
    Q_OBJECT

public:
    explicit GroupBox(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
