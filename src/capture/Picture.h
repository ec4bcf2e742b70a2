#pragma once

#include <QImage>
#include <QList>

// A captured picture: one bitmap in the screen's pixel format and, from a
// palette screen, the 256 palette entries that go with it. The default
// picture is the empty one, which holds nothing.
class Picture
{
public:
    Picture() = default;
    Picture(QImage bitmap, QList<QRgb> palette);

    bool isNull() const { return m_bitmap.isNull(); }
    const QImage &bitmap() const { return m_bitmap; }
    // Empty when the picture has no palette.
    const QList<QRgb> &palette() const { return m_palette; }

private:
    QImage m_bitmap;
    QList<QRgb> m_palette;
};
