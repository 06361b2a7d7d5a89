#include "jpegimage.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace {

// libjpeg reports fatal errors through error_exit, which must not return;
// it jumps back to the one setjmp below. Warnings (truncated data, corrupt
// entropy codes) are counted, since libjpeg would otherwise hand back a
// picture padded with grey.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    int warnings;
};

void errorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

void emitMessage(j_common_ptr info, int level)
{
    // Stray bytes before a marker are skipped and leave the picture whole
    // (many cameras write them); an unknown JFIF revision or Adobe transform
    // code is read as usual. Every other warning means damaged data.
    const int code = info->err->msg_code;
    if (level < 0 && code != JWRN_EXTRANEOUS_DATA && code != JWRN_JFIF_MAJOR && code != JWRN_ADOBE_XFORM)
        ++reinterpret_cast<ErrorManager *>(info->err)->warnings;
}

void outputMessage(j_common_ptr) {}

// The smallest numerator n of n/8 whose output still covers the picture
// scaled to fit the box.
unsigned scaleNumerator(JDIMENSION width, JDIMENSION height, QSize box)
{
    if (!box.isValid() || box.isEmpty())
        return 8;
    const QSize fitted = QSize(int(width), int(height)).scaled(box, Qt::KeepAspectRatio);
    for (unsigned n = 1; n < 8; ++n) {
        const qint64 w = (qint64(width) * n + 7) / 8;
        const qint64 h = (qint64(height) * n + 7) / 8;
        if (w >= fitted.width() && h >= fitted.height())
            return n;
    }
    return 8;
}

// Adobe's CMYK JPEGs (the ones with its marker) store inverted values, each
// channel meaning "amount of white"; other writers store plain ink amounts.
void cmykRowToRgb(const JSAMPLE *in, QRgb *out, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, in += 4) {
        if (inverted) {
            const int k = in[3];
            out[x] = qRgb(in[0] * k / 255, in[1] * k / 255, in[2] * k / 255);
        } else {
            const int white = 255 - in[3];
            out[x] = qRgb((255 - in[0]) * white / 255, (255 - in[1]) * white / 255, (255 - in[2]) * white / 255);
        }
    }
}

struct DecodeRequest {
    const QByteArray *bytes;
    QSize box;
    qint64 maxPixels;
    bool headerOnly;
    QSize *size;
    QImage *bitmap;
    QByteArray *cmykRow;
    int *orientation;
    bool endAdded; // the file lacked its end marker, and it was put behind the data
};

// The orientation (1 to 8) from an Exif block: "Exif", two zero bytes, then
// a TIFF header whose first directory may hold tag 0x0112. 1 for anything
// missing, unknown or out of bounds.
int exifOrientation(const unsigned char *data, unsigned length)
{
    constexpr unsigned kTiff = 6;
    if (length < kTiff + 8 || std::memcmp(data, "Exif\0\0", 6) != 0)
        return 1;
    const unsigned char *tiff = data + kTiff;
    const unsigned size = length - kTiff;
    const bool big = tiff[0] == 'M' && tiff[1] == 'M';
    if (!big && !(tiff[0] == 'I' && tiff[1] == 'I'))
        return 1;
    const auto get = [tiff, big](unsigned at, int bytes) {
        unsigned value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= unsigned(tiff[at + unsigned(i)]) << (8 * (big ? bytes - 1 - i : i));
        return value;
    };
    if (get(2, 2) != 42)
        return 1;
    const unsigned directory = get(4, 4);
    if (directory > size - 2)
        return 1;
    const unsigned entries = get(directory, 2);
    for (unsigned i = 0; i < entries; ++i) {
        const unsigned entry = directory + 2 + 12 * i;
        if (entry + 12 > size)
            return 1;
        if (get(entry, 2) == 0x0112 && get(entry + 2, 2) == 3) {
            const unsigned value = get(entry + 8, 2);
            return value >= 1 && value <= 8 ? int(value) : 1;
        }
    }
    return 1;
}

// Whether every coefficient of every component has had its last refinement.
bool allScansRead(const jpeg_decompress_struct *info)
{
    if (!info->coef_bits)
        return false;
    for (int component = 0; component < info->num_components; ++component)
        for (int k = 0; k < DCTSIZE2; ++k)
            if (info->coef_bits[component][k] != 0)
                return false;
    return true;
}

// A fatal error jumps out of here back into guardedDecode; no object with a
// destructor lives in this frame, the bitmap and buffers belong to the caller.
bool decodeSteps(jpeg_decompress_struct *info, ErrorManager *errors, const DecodeRequest &request)
{
    jpeg_create_decompress(info);
    // A progressive picture is kept whole as coefficients before its first
    // row, whatever the scale: a few hundred bytes claiming 20000 x 20000
    // would take gigabytes. Beyond this the decoder fails instead (it has
    // no backing store); a 80-megapixel progressive photo still fits.
    info->mem->max_memory_to_use = 256L << 20;
    jpeg_mem_src(info, reinterpret_cast<const unsigned char *>(request.bytes->constData()),
                 static_cast<unsigned long>(request.bytes->size()));
    jpeg_save_markers(info, JPEG_APP0 + 1, 0xFFFF);
    if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK)
        return false;
    if (info->image_width == 0 || info->image_height == 0)
        return false;
    *request.size = QSize(int(info->image_width), int(info->image_height));
    for (jpeg_saved_marker_ptr marker = info->marker_list; marker; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1 && marker->data_length >= 6 && std::memcmp(marker->data, "Exif\0\0", 6) == 0) {
            *request.orientation = exifOrientation(marker->data, marker->data_length);
            break;
        }
    }
    if (request.headerOnly)
        return true;
    const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    info->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    info->scale_num = scaleNumerator(info->image_width, info->image_height, request.box);
    info->scale_denom = 8;
    jpeg_calc_output_dimensions(info);
    if (qint64(info->output_width) * qint64(info->output_height) > request.maxPixels)
        return false;
    *request.bitmap = QImage(int(info->output_width), int(info->output_height), QImage::Format_RGB32);
    if (request.bitmap->isNull())
        return false;
    jpeg_start_decompress(info);
    // A picture of several scans has been read whole by now. If it ended only
    // at the end marker put behind the data, the file may have stopped
    // between two scans: then it is a draft, and only a progressive picture
    // shows whether all its scans are there.
    if (request.endAdded && info->src->bytes_in_buffer == 0 && jpeg_has_multiple_scans(info) &&
        (!info->progressive_mode || !allScansRead(info)))
        return false;
    if (cmyk)
        request.cmykRow->resize(qsizetype(info->output_width) * 4);
    while (info->output_scanline < info->output_height && errors->warnings == 0) {
        auto *line = reinterpret_cast<QRgb *>(request.bitmap->scanLine(int(info->output_scanline)));
        JSAMPROW row = cmyk ? reinterpret_cast<JSAMPLE *>(request.cmykRow->data()) : reinterpret_cast<JSAMPLE *>(line);
        if (jpeg_read_scanlines(info, &row, 1) != 1)
            return false;
        if (cmyk)
            cmykRowToRgb(reinterpret_cast<const JSAMPLE *>(request.cmykRow->constData()), line, info->output_width,
                         info->saw_Adobe_marker != FALSE);
    }
    if (errors->warnings != 0)
        return false;
    jpeg_finish_decompress(info);
    return errors->warnings == 0;
}

bool guardedDecode(jpeg_decompress_struct *info, ErrorManager *errors, const DecodeRequest &request)
{
    if (setjmp(errors->jump))
        return false;
    return decodeSteps(info, errors, request);
}

} // namespace

namespace {

bool run(const QByteArray &bytes, QSize box, qint64 maxPixels, bool headerOnly, QSize *size, QImage *bitmap, int *orientation)
{
    *orientation = 1;
    if (bytes.size() < 4)
        return false;
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = errorExit;
    errors.base.emit_message = emitMessage;
    errors.base.output_message = outputMessage;
    QByteArray cmykRow;
    // Some writers leave off the end marker. With one behind the data, a file
    // lacking only that decodes without complaint, while one cut inside its
    // coded data still runs short before the marker and is refused.
    static const QByteArray kEnd("\xff\xd9", 2);
    const bool endAdded = !bytes.endsWith(kEnd);
    const QByteArray data = endAdded ? bytes + kEnd : bytes;
    const bool ok = guardedDecode(&info, &errors, {&data, box, maxPixels, headerOnly, size, bitmap, &cmykRow, orientation, endAdded});
    jpeg_destroy_decompress(&info);
    return ok;
}

} // namespace

QSize TJPEGImage::readSize(const QByteArray &bytes)
{
    QSize size;
    QImage none;
    int orientation = 1;
    return run(bytes, QSize(), 0, true, &size, &none, &orientation) ? size : QSize();
}

bool TJPEGImage::load(const QByteArray &bytes, QSize box, qint64 maxPixels)
{
    QSize size;
    QImage bitmap;
    int orientation = 1;
    const bool ok = run(bytes, box, maxPixels, false, &size, &bitmap, &orientation);
    m_orientation = ok ? orientation : 1;
    m_size = ok ? size : QSize();
    m_bitmap = ok ? std::move(bitmap) : QImage();
    return ok;
}
