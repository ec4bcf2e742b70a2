#pragma once

#include "Picture.h"

#include <QLabel>

// A picture holder that is never shown: it keeps the last picture given to
// it, releasing the one before.
class PictureBox : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

    const Picture &picture() const { return m_picture; }
    void setPicture(const Picture &picture) { m_picture = picture; }

private:
    Picture m_picture;
};
