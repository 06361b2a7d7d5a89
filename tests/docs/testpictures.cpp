#include "testpictures.h"

#include <QBuffer>

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <vector>

QImage solidImage(int width, int height, QColor color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

QByteArray encoded(const QImage &image, const char *format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

QByteArray tinyGif(int frames)
{
    QByteArray gif = QByteArray::fromHex("474946383961" // GIF89a
                                         "01000100"     // 1 x 1
                                         "800000"       // global table of 2 colours
                                         "ff0000"
                                         "0000ff"); // red, blue
    if (frames > 1)
        gif += QByteArray::fromHex("21ff0b4e45545343415045322e300301000000"); // loop for ever
    for (int i = 0; i < frames; ++i) {
        gif += QByteArray::fromHex("21f904000a0000"
                                   "00");                   // 1/10 s per frame
        gif += QByteArray::fromHex("2c000000000100010000"); // image descriptor
        // LZW, minimum code size 2: clear, the colour index, end.
        gif += i % 2 == 0 ? QByteArray::fromHex("02024401"
                                                "00")
                          : QByteArray::fromHex("02024c01"
                                                "00");
    }
    gif += '\x3b';
    return gif;
}

QByteArray withJpegSize(QByteArray jpeg, int width, int height)
{
    for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
        const auto marker = quint8(jpeg[i + 1]);
        if (quint8(jpeg[i]) == 0xff && (marker == 0xc0 || marker == 0xc2)) {
            jpeg[i + 5] = char(height >> 8);
            jpeg[i + 6] = char(height & 0xff);
            jpeg[i + 7] = char(width >> 8);
            jpeg[i + 8] = char(width & 0xff);
            break;
        }
    }
    return jpeg;
}

QByteArray withExifOrientation(const QByteArray &jpeg, int orientation, bool bigEndian)
{
    QByteArray tiff;
    const auto put = [&tiff, bigEndian](quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            tiff += char((value >> (8 * (bigEndian ? bytes - 1 - i : i))) & 0xff);
    };
    tiff += bigEndian ? "MM" : "II";
    put(42, 2);
    put(8, 4); // IFD0 right after the header
    put(1, 2); // one entry: orientation, SHORT, one value
    put(0x0112, 2);
    put(3, 2);
    put(1, 4);
    put(quint32(orientation), 2);
    put(0, 2);
    put(0, 4); // no further IFD
    const QByteArray body = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment = QByteArray::fromHex("ffe1");
    segment += char((body.size() + 2) >> 8);
    segment += char((body.size() + 2) & 0xff);
    return jpeg.left(2) + segment + body + jpeg.mid(2);
}

namespace {

quint32 crc32(const char *data, qsizetype size)
{
    quint32 crc = 0xffffffffu;
    for (qsizetype i = 0; i < size; ++i) {
        crc ^= quint8(data[i]);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void putBigEndian(QByteArray &bytes, qsizetype at, quint32 value)
{
    for (int k = 0; k < 4; ++k)
        bytes[at + k] = char(value >> (24 - 8 * k));
}

} // namespace

QByteArray withPngSize(QByteArray png, quint32 width, quint32 height)
{
    // Signature (8), length (4), "IHDR" (4), width, height, ..., CRC over type and data.
    putBigEndian(png, 16, width);
    putBigEndian(png, 20, height);
    putBigEndian(png, 29, crc32(png.constData() + 12, 17));
    return png;
}

QByteArray withGifSize(QByteArray gif, quint16 width, quint16 height)
{
    const auto put = [&gif](qsizetype at, quint16 value) {
        gif[at] = char(value & 0xff);
        gif[at + 1] = char(value >> 8);
    };
    put(6, width);
    put(8, height);
    const qsizetype descriptor = gif.indexOf('\x2c', 13);
    put(descriptor + 5, width);
    put(descriptor + 7, height);
    return gif;
}

QByteArray cmykJpeg(int width, int height, const unsigned char ink[4], bool adobe)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char *out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&info, &out, &outSize);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    info.write_Adobe_marker = adobe ? TRUE : FALSE;
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(size_t(width) * 4);
    for (int x = 0; x < width; ++x)
        for (int c = 0; c < 4; ++c)
            row[size_t(x) * 4 + size_t(c)] = JSAMPLE(adobe ? 255 - ink[c] : ink[c]);
    while (info.next_scanline < info.image_height) {
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    QByteArray bytes(reinterpret_cast<const char *>(out), qsizetype(outSize));
    jpeg_destroy_compress(&info);
    std::free(out);
    return bytes;
}

QByteArray stripedGif(int width, int height)
{
    QByteArray gif("GIF89a", 6);
    const auto put16 = [&gif](int value) {
        gif += char(value & 0xff);
        gif += char(value >> 8);
    };
    put16(width);
    put16(height);
    gif += QByteArray::fromHex("f60000"); // global table of 128 colours
    for (int i = 0; i < 128; ++i)
        gif += QByteArray(3, char(i * 2));
    gif += char(0x2c);
    put16(0);
    put16(0);
    put16(width);
    put16(height);
    gif += char(0);
    // Minimum code size 7 gives 8-bit codes; a clear code every 100 pixels
    // keeps them at 8 bits, so every code is one byte and needs no packing.
    QByteArray codes;
    for (int i = 0; i < width * height; ++i) {
        if (i % 100 == 0)
            codes += char(0x80);
        codes += char((i / width) % 128);
    }
    codes += char(0x81);
    gif += char(7);
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        gif += char(block.size());
        gif += block;
    }
    gif += char(0);
    gif += char(0x3b);
    return gif;
}
