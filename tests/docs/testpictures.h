// Pictures made by the tests themselves: encoded with Qt's writers, a GIF
// written byte by byte, and damaged copies of them.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

QImage solidImage(int width, int height, QColor color);
// Encoded in the format Qt names ("JPG", "PNG", "BMP", "WEBP").
QByteArray encoded(const QImage &image, const char *format, int quality = 90);
// A JPEG of one CMYK ink colour (0..255 each, 255 = full ink), written the
// way Adobe does (inverted values, with its marker) or plainly.
QByteArray cmykJpeg(int width, int height, const unsigned char ink[4], bool adobe);
// A 1 x 1 GIF with one red pixel; with `frames` > 1 an animation whose
// frames alternate between red and blue.
QByteArray tinyGif(int frames = 1);
// A GIF whose rows run through 128 shades of grey, large enough that its
// picture data span many blocks.
QByteArray stripedGif(int width, int height);
// The JPEG with the size in its frame header replaced.
QByteArray withJpegSize(QByteArray jpeg, int width, int height);
// The JPEG with an Exif block after its start marker that gives the
// orientation (1 to 8) in the byte order "II" or "MM".
QByteArray withExifOrientation(const QByteArray &jpeg, int orientation, bool bigEndian = false);
// The PNG with the size in its header replaced (checksum made to match).
QByteArray withPngSize(QByteArray png, quint32 width, quint32 height);
// The GIF with its logical screen and first image replaced by a size.
QByteArray withGifSize(QByteArray gif, quint16 width, quint16 height);
