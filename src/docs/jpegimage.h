// JPEG pictures through libjpeg-turbo called directly: the real size comes
// from the header, and the decoder's DCT scaling lets a thumbnail decode only
// as many pixels as it needs.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

class TJPEGImage
{
public:
    // The picture's size from the header alone; invalid when there is none.
    static QSize readSize(const QByteArray &bytes);

    // Decodes the bytes of a JPEG file. With a valid `box` the picture is
    // decoded at the smallest scale (1/8 to 8/8) that still covers the
    // picture scaled to fit the box; otherwise at full size. False, with no bitmap, for anything that is not
    // a whole, sound JPEG: a truncated or corrupt stream fails instead of
    // giving a grey-filled picture. A picture over `maxPixels` decoded pixels
    // fails before any pixel is decoded.
    bool load(const QByteArray &bytes, QSize box = QSize(), qint64 maxPixels = kMaxDecodedPixels);

    // The picture's real size from its header, whatever scale was decoded.
    int width() const { return m_size.width(); }
    int height() const { return m_size.height(); }
    const QImage &bitmap() const { return m_bitmap; }
    // The Exif orientation, 1 to 8 (1: as stored); the bitmap is as stored.
    int orientation() const { return m_orientation; }

    // 50 million pixels: a 200 MB bitmap, more than any camera picture of today.
    static constexpr qint64 kMaxDecodedPixels = 50'000'000;

private:
    QSize m_size;
    QImage m_bitmap;
    int m_orientation = 1;
};
