#pragma once

#include <QPushButton>

// A push button whose caption wraps onto several lines when the button is
// too narrow for it, as the panel's small buttons need.
class CommandButton : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;

    static constexpr int captionFlags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    // Where the caption is drawn.
    QRect captionArea() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};
