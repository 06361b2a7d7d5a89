#include "picload.h"

#include "jpegimage.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cstdlib>

namespace {

bool sizeAcceptable(QSize size, qint64 maxPixels)
{
    return size.width() > 0 && size.height() > 0 && size.width() <= picture_limits::kMaxSide && size.height() <= picture_limits::kMaxSide &&
           qint64(size.width()) * size.height() <= maxPixels;
}

const char *qtFormat(PictureKind kind)
{
    switch (kind) {
    case PictureKind::Gif: return "gif";
    case PictureKind::Bmp: return "bmp";
    case PictureKind::Png: return "png";
    case PictureKind::WebP: return "webp";
    default: return nullptr;
    }
}

// Orientations 2 to 8: mirrored, turned by 180 degrees, or mirrored and
// turned a quarter clockwise, as Qt's own readers apply them.
QImage turnedByExif(const QImage &image, int orientation)
{
    switch (orientation) {
    case 2: return image.mirrored(true, false);
    case 3: return image.mirrored(true, true);
    case 4: return image.mirrored(false, true);
    case 5: return image.mirrored(false, true).transformed(QTransform().rotate(90));
    case 6: return image.transformed(QTransform().rotate(90));
    case 7: return image.mirrored(true, false).transformed(QTransform().rotate(90));
    case 8: return image.transformed(QTransform().rotate(270));
    default: return image;
    }
}

QImage decodeJpeg(const QByteArray &bytes, QSize box, QSize *realSize)
{
    // The header alone first: a JPEG's sides may reach 65500, far beyond
    // the limits, and the decoder would otherwise allocate for them.
    const QSize size = TJPEGImage::readSize(bytes);
    const qint64 limit = box.isValid() ? picture_limits::kMaxThumbPixels : picture_limits::kMaxFullPixels;
    if (!sizeAcceptable(size, limit))
        return {};
    TJPEGImage jpeg;
    if (!jpeg.load(bytes, box, picture_limits::kMaxFullPixels))
        return {};
    // Browsers show the picture turned as its Exif block says, so the sizes
    // of a tag and the thumbnail are those of the turned picture.
    const int orientation = jpeg.orientation();
    if (realSize)
        *realSize = orientation >= 5 ? size.transposed() : size;
    return turnedByExif(jpeg.bitmap(), orientation);
}

quint32 littleEndian32(const QByteArray &bytes, qsizetype at)
{
    quint32 value = 0;
    for (int k = 3; k >= 0; --k)
        value = (value << 8) | quint8(bytes[at + k]);
    return value;
}

// Qt's BMP reader hands back a picture cut short as if it were whole. An
// uncompressed BMP says where its pixels begin and how many rows of what
// width follow, so a file too short for them is known before decoding.
bool bmpLooksWhole(const QByteArray &bytes)
{
    constexpr qsizetype kHeaders = 14 + 40;
    if (bytes.size() < kHeaders || littleEndian32(bytes, 14) < 40)
        return true; // older or unknown layouts: the reader decides
    const quint32 compression = littleEndian32(bytes, 30);
    if (compression != 0 && compression != 3)
        return true;
    const qint64 offset = littleEndian32(bytes, 10);
    const qint64 width = qint32(littleEndian32(bytes, 18));
    const qint64 height = qint32(littleEndian32(bytes, 22));
    const qint64 bits = quint8(bytes[28]) | (quint8(bytes[29]) << 8);
    if (width <= 0 || height == 0 || bits == 0 || width > picture_limits::kMaxSide)
        return true;
    const qint64 stride = (width * bits + 31) / 32 * 4;
    return bytes.size() >= offset + stride * std::min<qint64>(std::abs(height), picture_limits::kMaxSide);
}

// Qt's GIF reader, too, hands back a first picture cut short as if it were
// whole. Its blocks say how long they are, so a file that ends inside them
// before the first picture's data are through is known before decoding. A
// file lacking only its closing bytes still counts as whole.
bool gifLooksWhole(const QByteArray &bytes)
{
    const auto byteAt = [&bytes](qsizetype at) { return quint8(bytes[at]); };
    // Skips a chain of sub-blocks; false when the data end inside one.
    const auto skipBlocks = [&bytes, &byteAt](qsizetype &at) {
        while (at < bytes.size()) {
            const qsizetype length = byteAt(at);
            if (length == 0) {
                ++at;
                return true;
            }
            if (at + 1 + length > bytes.size())
                return false;
            at += 1 + length;
        }
        return true;
    };
    constexpr qsizetype kScreen = 13;
    if (bytes.size() < kScreen)
        return true; // the reader refuses it anyway
    qsizetype at = kScreen + ((byteAt(10) & 0x80) ? 3 * (qsizetype(2) << (byteAt(10) & 7)) : 0);
    while (at < bytes.size()) {
        if (byteAt(at) == 0x21) {
            at += 2;
            if (at > bytes.size() || !skipBlocks(at) || at >= bytes.size())
                return false;
        } else if (byteAt(at) == 0x2c) {
            constexpr qsizetype kDescriptor = 10;
            if (at + kDescriptor + 1 > bytes.size())
                return false;
            const quint8 flags = byteAt(at + 9);
            at += kDescriptor + ((flags & 0x80) ? 3 * (qsizetype(2) << (flags & 7)) : 0) + 1;
            return at <= bytes.size() && skipBlocks(at);
        } else {
            return true; // unknown blocks: the reader decides
        }
    }
    return false;
}

// Qt's readers report the size from the header before they decode; its
// allocation limit guards what they decode beyond that.
QImage decodeWithQt(const QByteArray &bytes, PictureKind kind, QSize *realSize)
{
    QByteArray data = bytes;
    // Qt's PNG reader refuses a file that lacks only its empty end chunk,
    // which browsers show; one put behind the data lets it read the picture,
    // while image data cut short still fail before it.
    static const QByteArray kPngEnd = QByteArray::fromHex("0000000049454e44ae426082");
    if (kind == PictureKind::Png && !data.endsWith(kPngEnd))
        data += kPngEnd;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, qtFormat(kind));
    reader.setAllocationLimit(int(picture_limits::kMaxFullPixels * 4 / (1024 * 1024)) + 1);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid() && !sizeAcceptable(size, picture_limits::kMaxFullPixels))
        return {};
    if ((kind == PictureKind::Bmp && !bmpLooksWhole(bytes)) || (kind == PictureKind::Gif && !gifLooksWhole(bytes)))
        return {};
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return {};
    if (!sizeAcceptable(image.size(), picture_limits::kMaxFullPixels))
        return {};
    if (realSize)
        *realSize = image.size();
    return image;
}

} // namespace

QString WithTrailingBackslash(const QString &path)
{
    // A trailing backslash is a separator on Windows only; elsewhere it ends a
    // folder's name.
    if (path.isEmpty() || path.endsWith(u'/') || path.endsWith(QDir::separator()))
        return path;
    return path + u'/';
}

PictureKind pictureKindOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"gif")
        return PictureKind::Gif;
    if (suffix == u"jpg" || suffix == u"jpeg")
        return PictureKind::Jpeg;
    if (suffix == u"bmp")
        return PictureKind::Bmp;
    if (suffix == u"png")
        return PictureKind::Png;
    if (suffix == u"webp")
        return PictureKind::WebP;
    return PictureKind::None;
}

QImage decodePicture(const QByteArray &bytes, PictureKind kind, QSize box, QSize *realSize)
{
    if (kind == PictureKind::None || bytes.isEmpty() || bytes.size() > picture_limits::kMaxFileBytes)
        return {};
    QImage image = kind == PictureKind::Jpeg ? decodeJpeg(bytes, box, realSize) : decodeWithQt(bytes, kind, realSize);
    // One pixel layout for everything after the loader: no palettes, no
    // surprises when the thumbnail is drawn.
    if (!image.isNull() && image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    return image;
}

namespace {

QByteArray readPictureFile(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || file.size() > picture_limits::kMaxFileBytes || !file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

QImage LoadPictureBitmap(const QString &path, int *transparentColor)
{
    if (transparentColor)
        *transparentColor = -1;
    const PictureKind kind = pictureKindOf(path);
    if (kind == PictureKind::None)
        return {};
    return decodePicture(readPictureFile(path), kind);
}

QRect thumbnailRect(QSize picture)
{
    const qint64 w = picture.width();
    const qint64 h = picture.height();
    if (w <= 0 || h <= 0)
        return {};
    if (h < w) {
        const int height = int(h * kThumbSize / w);
        const int top = (kThumbSize - height) / 2;
        return QRect(0, top, kThumbSize, height);
    }
    const int width = int(w * kThumbSize / h);
    const int left = (kThumbSize - width) / 2;
    return QRect(left, 0, width, kThumbSize);
}

Thumbnail makeThumbnailFrom(const QImage &decoded, QSize realSize)
{
    Thumbnail thumb;
    if (decoded.isNull() || !realSize.isValid() || realSize.isEmpty())
        return thumb;
    const QRect target = thumbnailRect(realSize);
    thumb.width = realSize.width();
    thumb.height = realSize.height();
    thumb.image = QImage(kThumbSize, kThumbSize, QImage::Format_RGB32);
    thumb.image.fill(Qt::white);
    thumb.mask = QImage(kThumbSize, kThumbSize, QImage::Format_RGB32);
    thumb.mask.fill(Qt::white);
    if (target.isEmpty())
        return thumb;
    // The picture replaces what lies under it; transparent pixels keep the
    // white of the background, as the list shows them.
    const QImage scaled = decoded.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&thumb.image);
    painter.drawImage(target.topLeft(), scaled);
    painter.end();
    QPainter maskPainter(&thumb.mask);
    maskPainter.fillRect(target, Qt::black);
    return thumb;
}

Thumbnail MakeThumbnail(const QString &path)
{
    const PictureKind kind = pictureKindOf(path);
    if (kind == PictureKind::None)
        return {};
    QSize realSize;
    const QImage decoded = decodePicture(readPictureFile(path), kind, QSize(kThumbSize, kThumbSize), &realSize);
    return makeThumbnailFrom(decoded, realSize);
}

QImage maskedThumbnail(const Thumbnail &thumb)
{
    if (!thumb.isValid())
        return {};
    QImage icon = thumb.image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < icon.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(icon.scanLine(y));
        const auto *mask = reinterpret_cast<const QRgb *>(thumb.mask.constScanLine(y));
        for (int x = 0; x < icon.width(); ++x)
            if (qRed(mask[x]) != 0)
                line[x] = 0;
    }
    return icon;
}
