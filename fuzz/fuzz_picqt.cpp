// Any bytes given to the picture loader's Qt readers (GIF, PNG, BMP, WebP;
// the first byte picks the reader): no crash, no picture beyond the limits,
// and a thumbnail of exactly 100 x 100 for every picture that loads.
#include "docs/picload.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    constexpr PictureKind kinds[] = {PictureKind::Gif, PictureKind::Png, PictureKind::Bmp, PictureKind::WebP};
    const PictureKind kind = kinds[data[0] % 4];
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    QSize real;
    const QImage image = decodePicture(bytes, kind, QSize(kThumbSize, kThumbSize), &real);
    if (image.isNull())
        return 0;
    if (image.size() != real || qint64(real.width()) * real.height() > picture_limits::kMaxFullPixels)
        __builtin_trap();
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        __builtin_trap();
    const Thumbnail thumb = makeThumbnailFrom(image, real);
    if (thumb.image.size() != QSize(kThumbSize, kThumbSize) || thumb.mask.size() != thumb.image.size())
        __builtin_trap();
    return 0;
}
