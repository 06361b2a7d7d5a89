// Any bytes given to the JPEG path of the picture loader: no crash, no
// allocation beyond the limits, and a picture only with a sane real size.
// The thumbnail decode (DCT scaled) and the full decode must agree on it.
#include "docs/picload.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QSize small;
    const QImage thumbSource = decodePicture(bytes, PictureKind::Jpeg, QSize(kThumbSize, kThumbSize), &small);
    if (!thumbSource.isNull()) {
        if (small.width() < 1 || small.height() < 1 || small.width() > picture_limits::kMaxSide ||
            small.height() > picture_limits::kMaxSide)
            __builtin_trap();
        // Scaled down never below what the thumbnail shows; small pictures stay whole.
        const QSize fitted = thumbnailRect(small).size().boundedTo(small);
        if (thumbSource.width() < fitted.width() || thumbSource.height() < fitted.height())
            __builtin_trap();
        const Thumbnail thumb = makeThumbnailFrom(thumbSource, small);
        if (thumb.image.size() != QSize(kThumbSize, kThumbSize) || thumb.width != small.width())
            __builtin_trap();
    }
    QSize full;
    const QImage whole = decodePicture(bytes, PictureKind::Jpeg, QSize(), &full);
    if (!whole.isNull() && (whole.size() != full || (!thumbSource.isNull() && full != small)))
        __builtin_trap();
    return 0;
}
