// The picture loader: picture files into bitmaps and into the 100 x 100
// thumbnails of the image browser. Hostile files are expected: sizes from
// a header are checked before anything is decoded, and every failure gives
// no bitmap rather than a partial one.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

// Limits on what is decoded at all. A thumbnail decodes JPEG pictures at
// 1/8 scale where that suffices, so it accepts larger pictures than a full
// decode; every other picture is decoded whole and must stay under the
// full-decode limit.
namespace picture_limits {
inline constexpr qint64 kMaxFileBytes = 256LL * 1024 * 1024;
inline constexpr int kMaxSide = 32768;
inline constexpr qint64 kMaxFullPixels = 50'000'000;   // 200 MB as a 32-bit bitmap
inline constexpr qint64 kMaxThumbPixels = 400'000'000; // decoded at 1/8: 25 MB
} // namespace picture_limits

inline constexpr int kThumbSize = 100;

// The path with a trailing separator ("/" or "\" counts); empty stays empty.
QString WithTrailingBackslash(const QString &path);

enum class PictureKind { None, Gif, Jpeg, Bmp, Png, WebP };
// By the extension, compared in lower case.
PictureKind pictureKindOf(const QString &path);

// Decodes the bytes of a picture of the given kind. With a valid `box` the
// result may be smaller than the picture but covers it scaled to fit the
// box (JPEG pictures only); `realSize` receives the picture's size.
// A null image when the data are not a whole picture within the limits.
QImage decodePicture(const QByteArray &bytes, PictureKind kind, QSize box = QSize(), QSize *realSize = nullptr);

// The picture file as a bitmap of its real size, or a null image when the
// file is missing, of no known kind or unreadable. The transparent colour
// is always -1 (none).
QImage LoadPictureBitmap(const QString &path, int *transparentColor = nullptr);

// Where a picture of the size lands in the thumbnail: scaled to fit and
// centred; a side may shrink to 0 (a 300 x 1 picture).
QRect thumbnailRect(QSize picture);

struct Thumbnail {
    QImage image; // 100 x 100, white around the picture
    QImage mask;  // 100 x 100, white outside the picture, black over it
    int width = 0;
    int height = 0;
    bool isValid() const { return !image.isNull(); }
};

// Thumbnail and mask of a picture decoded at any size, the rectangle taken
// from the real size.
Thumbnail makeThumbnailFrom(const QImage &decoded, QSize realSize);
// No thumbnail (and sizes 0) when the file cannot be loaded.
Thumbnail MakeThumbnail(const QString &path);
// The thumbnail with its margin transparent, as the list draws it.
QImage maskedThumbnail(const Thumbnail &thumb);
