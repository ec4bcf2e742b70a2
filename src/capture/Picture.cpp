#include "Picture.h"

Picture::Picture(QImage bitmap, QList<QRgb> palette) : m_bitmap(std::move(bitmap)), m_palette(std::move(palette))
{
    // An indexed bitmap shows its colours through the palette.
    if (m_bitmap.format() == QImage::Format_Indexed8 && !m_palette.isEmpty())
        m_bitmap.setColorTable(m_palette);
}
