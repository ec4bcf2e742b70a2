#pragma once

#include <QImage>

// A captured picture: one bitmap of the window. The default picture is the
// empty one, which holds nothing.
class Picture
{
public:
    Picture() = default;
    explicit Picture(QImage bitmap) : m_bitmap(std::move(bitmap)) {}

    bool isNull() const { return m_bitmap.isNull(); }
    const QImage &bitmap() const { return m_bitmap; }

private:
    QImage m_bitmap;
};
