#include "docs/jpegimage.h"
#include "docs/picload.h"
#include "support/testenv.h"
#include "testpictures.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/resource.h>

namespace {

struct Geometry {
    const char *name;
    QSize picture;
    QRect target;
};

class ThumbnailGeometry : public ::testing::TestWithParam<Geometry>
{
};

TEST_P(ThumbnailGeometry, PictureFitsCentredWithItsProportions)
{
    EXPECT_EQ(thumbnailRect(GetParam().picture), GetParam().target);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ThumbnailGeometry,
                         ::testing::Values(Geometry{"wide", {200, 100}, {0, 25, 100, 50}}, Geometry{"tall", {30, 60}, {25, 0, 50, 100}},
                                           Geometry{"square_enlarged", {1, 1}, {0, 0, 100, 100}},
                                           Geometry{"line_has_no_height", {300, 1}, {0, 50, 100, 0}},
                                           Geometry{"odd_margin", {3, 1}, {0, 33, 100, 33}},
                                           Geometry{"column_has_no_width", {1, 300}, {50, 0, 0, 100}}),
                         [](const auto &info) { return std::string(info.param.name); });

QRgb pixel(const QImage &image, int x, int y)
{
    return image.pixel(x, y) & 0xffffff;
}

TEST(MakeThumbnail, WidePictureSitsBetweenWhiteBandsAndTheMaskCoversItExactly)
{
    const Thumbnail thumb = makeThumbnailFrom(solidImage(200, 100, Qt::red), {200, 100});
    ASSERT_TRUE(thumb.isValid());
    EXPECT_EQ(thumb.image.size(), QSize(100, 100));
    EXPECT_EQ(thumb.mask.size(), QSize(100, 100));
    EXPECT_EQ(pixel(thumb.image, 50, 24), 0xffffffu);
    EXPECT_EQ(pixel(thumb.image, 50, 25), 0xff0000u);
    EXPECT_EQ(pixel(thumb.image, 0, 74), 0xff0000u);
    EXPECT_EQ(pixel(thumb.image, 99, 75), 0xffffffu);
    EXPECT_EQ(pixel(thumb.mask, 50, 24), 0xffffffu);
    EXPECT_EQ(pixel(thumb.mask, 50, 25), 0u);
    EXPECT_EQ(pixel(thumb.mask, 99, 74), 0u);
    EXPECT_EQ(pixel(thumb.mask, 50, 75), 0xffffffu);
    const QImage icon = maskedThumbnail(thumb);
    EXPECT_EQ(qAlpha(icon.pixel(50, 10)), 0);
    EXPECT_EQ(icon.pixel(50, 50), qRgb(255, 0, 0));
}

TEST(MakeThumbnail, OnePixelHighPictureGivesAnAllWhiteThumbnailButKeepsItsSize)
{
    const Thumbnail thumb = makeThumbnailFrom(solidImage(300, 1, Qt::black), {300, 1});
    ASSERT_TRUE(thumb.isValid());
    EXPECT_EQ(thumb.width, 300);
    EXPECT_EQ(thumb.height, 1);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(pixel(thumb.image, x, y) & pixel(thumb.mask, x, y), 0xffffffu) << x << "," << y;
}

TEST(WithTrailingBackslash, AddsOneSeparatorOnlyWhereNoneEnds)
{
    EXPECT_EQ(WithTrailingBackslash(QString()), QString());
    EXPECT_EQ(WithTrailingBackslash(QStringLiteral("/web")), QStringLiteral("/web/"));
    EXPECT_EQ(WithTrailingBackslash(QStringLiteral("/web/")), QStringLiteral("/web/"));
#ifdef Q_OS_WIN
    EXPECT_EQ(WithTrailingBackslash(QStringLiteral("X:\\web\\")), QStringLiteral("X:\\web\\"));
#else
    // A folder named "alt\" (unpacked from a Windows archive) still gets its separator.
    EXPECT_EQ(WithTrailingBackslash(QStringLiteral("/web/alt\\")), QStringLiteral("/web/alt\\/"));
#endif
}

TEST(PictureKind, ExtensionDecidesCaseBlind)
{
    EXPECT_EQ(pictureKindOf(QStringLiteral("a.GIF")), PictureKind::Gif);
    EXPECT_EQ(pictureKindOf(QStringLiteral("b.jpeg")), PictureKind::Jpeg);
    EXPECT_EQ(pictureKindOf(QStringLiteral("b.JpG")), PictureKind::Jpeg);
    EXPECT_EQ(pictureKindOf(QStringLiteral("c.png")), PictureKind::Png);
    EXPECT_EQ(pictureKindOf(QStringLiteral("e.webp")), PictureKind::WebP);
    EXPECT_EQ(pictureKindOf(QStringLiteral("d.txt")), PictureKind::None);
    EXPECT_EQ(pictureKindOf(QStringLiteral("jpg")), PictureKind::None);
}

// A folder of picture files for one test.
class PictureFolder : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString put(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        writeAll(path, bytes);
        return path;
    }
};

TEST_F(PictureFolder, EveryKnownFormatLoadsAtItsRealSize)
{
    const QImage picture = solidImage(37, 21, Qt::green);
    const QString files[] = {put(QStringLiteral("a.jpg"), encoded(picture, "JPG")), put(QStringLiteral("a.png"), encoded(picture, "PNG")),
                             put(QStringLiteral("a.bmp"), encoded(picture, "BMP")),
                             put(QStringLiteral("a.webp"), encoded(picture, "WEBP"))};
    for (const QString &file : files) {
        int transparent = 0;
        const QImage bitmap = LoadPictureBitmap(file, &transparent);
        EXPECT_EQ(bitmap.size(), QSize(37, 21)) << file.toStdString();
        EXPECT_EQ(transparent, -1);
        const QRgb middle = bitmap.pixel(18, 10);
        EXPECT_LT(qRed(middle), 40) << file.toStdString();
        EXPECT_GT(qGreen(middle), 200) << file.toStdString();
        const Thumbnail thumb = MakeThumbnail(file);
        EXPECT_EQ(thumb.width, 37);
        EXPECT_EQ(thumb.height, 21);
    }
}

TEST_F(PictureFolder, GifGivesItsFirstFrame)
{
    const QString file = put(QStringLiteral("anim.gif"), tinyGif(2));
    const QImage bitmap = LoadPictureBitmap(file);
    ASSERT_EQ(bitmap.size(), QSize(1, 1));
    EXPECT_EQ(bitmap.pixel(0, 0) & 0xffffff, 0xff0000u);
    const Thumbnail thumb = MakeThumbnail(file);
    EXPECT_EQ(pixel(thumb.image, 0, 0), 0xff0000u);
    EXPECT_EQ(pixel(thumb.image, 99, 99), 0xff0000u);
}

TEST_F(PictureFolder, MissingUnknownAndMisnamedFilesGiveNothing)
{
    EXPECT_TRUE(LoadPictureBitmap(dir.filePath(QStringLiteral("gone.jpg"))).isNull());
    const QString text = put(QStringLiteral("d.txt"), encoded(solidImage(4, 4, Qt::red), "PNG"));
    EXPECT_TRUE(LoadPictureBitmap(text).isNull());
    const QString misnamed = put(QStringLiteral("png.jpg"), encoded(solidImage(4, 4, Qt::red), "PNG"));
    EXPECT_TRUE(LoadPictureBitmap(misnamed).isNull());
    EXPECT_FALSE(MakeThumbnail(misnamed).isValid());
    EXPECT_EQ(MakeThumbnail(misnamed).width, 0);
    EXPECT_TRUE(LoadPictureBitmap(dir.path()).isNull());
}

TEST(JpegDecoding, ThumbnailDecodesAtAnEighthButReportsTheRealSize)
{
    const QByteArray jpeg = encoded(solidImage(1600, 1200, Qt::gray), "JPG");
    QSize real;
    const QImage small = decodePicture(jpeg, PictureKind::Jpeg, QSize(100, 100), &real);
    EXPECT_EQ(real, QSize(1600, 1200));
    EXPECT_EQ(small.size(), QSize(200, 150));
    // 300 wide would need 3/8 to cover 100 x 33.
    const QImage partly = decodePicture(encoded(solidImage(300, 100, Qt::gray), "JPG"), PictureKind::Jpeg, QSize(100, 100), &real);
    EXPECT_EQ(partly.size(), QSize(113, 38));
    EXPECT_EQ(decodePicture(jpeg, PictureKind::Jpeg).size(), QSize(1600, 1200));
}

TEST(JpegDecoding, GreyscaleAndProgressivePicturesDecode)
{
    QImage grey(64, 48, QImage::Format_Grayscale8);
    grey.fill(200);
    TJPEGImage jpeg;
    ASSERT_TRUE(jpeg.load(encoded(grey, "JPG")));
    EXPECT_EQ(jpeg.width(), 64);
    EXPECT_EQ(qRed(jpeg.bitmap().pixel(10, 10)), qGreen(jpeg.bitmap().pixel(10, 10)));
    EXPECT_NEAR(qRed(jpeg.bitmap().pixel(10, 10)), 200, 3);
}

TEST(JpegDecoding, CmykInksReadTheSameWithAndWithoutAdobesInversion)
{
    // Full cyan and 20 % black: a dark cyan whichever way the file stores it.
    const unsigned char ink[4] = {255, 0, 0, 51};
    for (const bool adobe : {true, false}) {
        SCOPED_TRACE(adobe ? "Adobe" : "plain");
        TJPEGImage jpeg;
        ASSERT_TRUE(jpeg.load(cmykJpeg(16, 16, ink, adobe)));
        const QRgb pixel = jpeg.bitmap().pixel(8, 8);
        EXPECT_NEAR(qRed(pixel), 0, 4);
        EXPECT_NEAR(qGreen(pixel), 204, 4);
        EXPECT_NEAR(qBlue(pixel), 204, 4);
    }
}

// Many cameras and editors leave a few stray bytes before a marker; the
// picture itself is whole, and every viewer shows it.
TEST(JpegDecoding, StrayBytesBeforeAMarkerStillGiveThePicture)
{
    const QByteArray whole = encoded(solidImage(64, 48, Qt::red), "JPG");
    ASSERT_TRUE(whole.endsWith(QByteArray("\xff\xd9", 2)));
    const QByteArray stray("\x00\x13", 2);
    QByteArray beforeEnd = whole;
    beforeEnd.insert(whole.size() - 2, stray);
    // Right after the first segment behind the start marker (JFIF header).
    const qsizetype firstSegmentEnd = 4 + ((quint8(whole[4]) << 8) | quint8(whole[5]));
    ASSERT_EQ(quint8(whole[firstSegmentEnd]), 0xff);
    QByteArray inHeader = whole;
    inHeader.insert(firstSegmentEnd, stray);
    for (const QByteArray &bytes : {beforeEnd, inHeader}) {
        QSize real;
        const QImage full = decodePicture(bytes, PictureKind::Jpeg, QSize(), &real);
        ASSERT_FALSE(full.isNull());
        EXPECT_EQ(real, QSize(64, 48));
        EXPECT_NEAR(qRed(full.pixel(30, 20)), 255, 8);
        EXPECT_FALSE(decodePicture(bytes, PictureKind::Jpeg, QSize(kThumbSize, kThumbSize)).isNull());
    }
}

// Notes the decoder makes about a header it does not know (a later JFIF
// revision, an unknown Adobe colour transform) say nothing about damage;
// it reads the picture as usual and viewers show it.
TEST(JpegDecoding, UnknownHeaderRevisionsStillGiveThePicture)
{
    const QByteArray whole = encoded(solidImage(64, 48, Qt::red), "JPG");
    ASSERT_EQ(whole.mid(6, 5), QByteArray("JFIF\0", 5));
    QByteArray revision = whole;
    revision[11] = 2;                                                           // JFIF 2.01
    QByteArray adobe = QByteArray::fromHex("ffee000e41646f626500640000000003"); // transform code 3
    // In place of the JFIF segment, which would decide the colours first.
    const qsizetype jfifEnd = 4 + ((quint8(whole[4]) << 8) | quint8(whole[5]));
    adobe = whole.left(2) + adobe + whole.mid(jfifEnd);
    for (const QByteArray &bytes : {revision, adobe}) {
        QSize real;
        const QImage full = decodePicture(bytes, PictureKind::Jpeg, QSize(), &real);
        ASSERT_FALSE(full.isNull()) << (bytes == revision ? "JFIF revision" : "Adobe transform");
        EXPECT_EQ(real, QSize(64, 48));
        EXPECT_NEAR(qRed(full.pixel(30, 20)), 255, 8);
        EXPECT_LT(qGreen(full.pixel(30, 20)), 30);
    }
}

// Cameras store a portrait photo as landscape pixels and say in the Exif
// block how to turn them; browsers show it turned, so the tag's width and
// height, the thumbnail and the preview must be those of the turned picture.
TEST(JpegDecoding, ExifOrientationTurnsThePictureAndSwapsItsSides)
{
    QImage halves(40, 20, QImage::Format_RGB32);
    halves.fill(Qt::blue);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            halves.setPixel(x, y, qRgb(255, 0, 0));
    const QByteArray jpeg = encoded(halves, "JPG", 95);
    struct Turn {
        int orientation;
        bool bigEndian;
        QSize size;
        QPoint red; // a point inside the red half after the turn
    };
    for (const Turn &turn : {Turn{1, false, {40, 20}, {5, 10}}, Turn{3, false, {40, 20}, {35, 10}}, Turn{6, false, {20, 40}, {10, 5}},
                             Turn{6, true, {20, 40}, {10, 5}}, Turn{8, false, {20, 40}, {10, 35}}, Turn{9, false, {40, 20}, {5, 10}}}) {
        const QByteArray bytes = withExifOrientation(jpeg, turn.orientation, turn.bigEndian);
        const std::string what = "orientation " + std::to_string(turn.orientation) + (turn.bigEndian ? " MM" : " II");
        QSize real;
        const QImage full = decodePicture(bytes, PictureKind::Jpeg, QSize(), &real);
        ASSERT_EQ(full.size(), turn.size) << what;
        EXPECT_EQ(real, turn.size) << what;
        EXPECT_GT(qRed(full.pixel(turn.red)), 200) << what;
        EXPECT_LT(qBlue(full.pixel(turn.red)), 60) << what;
        const QImage small = decodePicture(bytes, PictureKind::Jpeg, QSize(kThumbSize, kThumbSize), &real);
        EXPECT_EQ(real, turn.size) << what;
        EXPECT_EQ(small.width() < small.height(), turn.size.width() < turn.size.height()) << what;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("portrait.jpg"));
    writeAll(path, withExifOrientation(jpeg, 6));
    const Thumbnail thumb = MakeThumbnail(path);
    EXPECT_EQ(thumb.width, 20);
    EXPECT_EQ(thumb.height, 40);
    EXPECT_EQ(pixel(thumb.mask, 20, 50), 0xffffffu) << "the margin is left and right";
    EXPECT_EQ(LoadPictureBitmap(path).size(), QSize(20, 40));
}

// Every orientation, mirrored ones included, turns the way Qt's own reader does.
TEST(JpegDecoding, AllEightOrientationsAgreeWithQtsReader)
{
    QImage quarters(40, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            quarters.setPixel(x, y,
                              y < 10 ? (x < 20 ? qRgb(255, 0, 0) : qRgb(0, 255, 0)) : (x < 20 ? qRgb(0, 0, 255) : qRgb(255, 255, 255)));
    const QByteArray jpeg = encoded(quarters, "JPG", 95);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        QByteArray bytes = withExifOrientation(jpeg, orientation);
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "jpeg");
        reader.setAutoTransform(true);
        const QImage expected = reader.read();
        const QImage ours = decodePicture(bytes, PictureKind::Jpeg);
        ASSERT_EQ(ours.size(), expected.size()) << orientation;
        for (const QPoint at :
             {QPoint(3, 3), QPoint(ours.width() - 4, 3), QPoint(3, ours.height() - 4), QPoint(ours.width() - 4, ours.height() - 4)})
            EXPECT_LT(
                std::abs(qGray(ours.pixel(at)) - qGray(expected.pixel(at))) + std::abs(qRed(ours.pixel(at)) - qRed(expected.pixel(at))), 40)
                << "orientation " << orientation << " at " << at.x() << "," << at.y();
    }
}

class DamagedPicture : public ::testing::TestWithParam<const char *>
{
};

QByteArray pictureIn(const QString &format)
{
    if (format == u"GIF")
        return tinyGif();
    QImage image(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x ^ y) % 256));
    return encoded(image, format.toLatin1().constData());
}

PictureKind kindOf(const QString &format)
{
    return pictureKindOf(QStringLiteral("x.") + format.toLower());
}

// Some writers and cut-short uploads leave off only the two-byte end marker;
// every pixel is there and browsers show the picture whole. A progressive
// file that stops between its scans is a blurred draft and stays refused.
TEST(JpegDecoding, MissingEndMarkerAloneStillGivesThePicture)
{
    const QByteArray baseline = pictureIn(QStringLiteral("JPG"));
    QByteArray progressive;
    {
        QBuffer buffer(&progressive);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setProgressiveScanWrite(true);
        ASSERT_TRUE(writer.write(QImage::fromData(baseline)));
    }
    ASSERT_TRUE(progressive.contains(QByteArray("\xff\xc2", 2)));
    for (const QByteArray &whole : {baseline, progressive}) {
        ASSERT_TRUE(whole.endsWith(QByteArray("\xff\xd9", 2)));
        const QByteArray bytes = whole.chopped(2);
        QSize real;
        const QImage full = decodePicture(bytes, PictureKind::Jpeg, QSize(), &real);
        ASSERT_FALSE(full.isNull()) << (whole == baseline ? "baseline" : "progressive");
        EXPECT_EQ(real, QSize(300, 200));
        const QImage reference = decodePicture(whole, PictureKind::Jpeg);
        EXPECT_EQ(full.pixel(150, 100), reference.pixel(150, 100));
        EXPECT_EQ(full.pixel(299, 199), reference.pixel(299, 199));
        EXPECT_FALSE(decodePicture(bytes, PictureKind::Jpeg, QSize(kThumbSize, kThumbSize)).isNull());
        EXPECT_TRUE(decodePicture(whole.left(whole.size() * 2 / 3), PictureKind::Jpeg).isNull());
    }
    // Cut right before its last scan: every byte that is there is sound.
    const qsizetype lastScan = progressive.lastIndexOf(QByteArray("\xff\xda", 2));
    ASSERT_GT(lastScan, progressive.indexOf(QByteArray("\xff\xda", 2)));
    EXPECT_TRUE(decodePicture(progressive.left(lastScan), PictureKind::Jpeg).isNull());
}

// The end chunk of a PNG holds nothing; browsers show a file that lacks it.
// One cut inside its image data stays refused.
TEST(PngDecoding, MissingEndChunkAloneStillGivesThePicture)
{
    const QByteArray whole = pictureIn(QStringLiteral("PNG"));
    ASSERT_EQ(whole.right(12), QByteArray::fromHex("0000000049454e44ae426082"));
    const QByteArray bytes = whole.chopped(12);
    QSize real;
    const QImage image = decodePicture(bytes, PictureKind::Png, QSize(), &real);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(real, QSize(300, 200));
    EXPECT_EQ(image, decodePicture(whole, PictureKind::Png));
    EXPECT_FALSE(decodePicture(whole + QByteArray("trailing bytes"), PictureKind::Png).isNull());
    EXPECT_TRUE(decodePicture(bytes.chopped(40), PictureKind::Png).isNull());
}

TEST_P(DamagedPicture, TruncatedFileGivesNoPictureAndNoSize)
{
    const QString format = QString::fromLatin1(GetParam());
    const QByteArray whole = pictureIn(format);
    ASSERT_FALSE(decodePicture(whole, kindOf(format)).isNull());
    for (const qsizetype keep : {whole.size() / 2, whole.size() - 8, qsizetype(20), qsizetype(3)}) {
        QSize real(-5, -5);
        const QImage image = decodePicture(whole.left(keep), kindOf(format), QSize(100, 100), &real);
        EXPECT_TRUE(image.isNull()) << format.toStdString() << " cut at " << keep;
        EXPECT_EQ(real, QSize(-5, -5)) << format.toStdString() << " cut at " << keep;
    }
}

// An upload or copy broken off in the middle of a GIF: the reader hands
// back the rows it got as if they were the picture, and the browser listed
// its sizes and a half-empty thumbnail. Only the closing bytes, which carry
// no picture, may be missing.
TEST(GifDecoding, PictureDataCutShortGiveNoPictureButAMissingTrailerDoesNot)
{
    const QByteArray gif = stripedGif(120, 90);
    QSize real;
    const QImage whole = decodePicture(gif, PictureKind::Gif, QSize(), &real);
    ASSERT_FALSE(whole.isNull());
    EXPECT_EQ(real, QSize(120, 90));
    EXPECT_EQ(qGray(whole.pixel(5, 80)), 160) << "row 80 in its own shade";
    EXPECT_EQ(decodePicture(gif.chopped(1), PictureKind::Gif), whole) << "without the trailer";
    EXPECT_EQ(decodePicture(gif.chopped(2), PictureKind::Gif), whole) << "without the empty closing block";
    for (const qsizetype keep : {gif.size() / 2, gif.size() - 100, qsizetype(13 + 384 + 6)}) {
        QSize none(-5, -5);
        EXPECT_TRUE(decodePicture(gif.left(keep), PictureKind::Gif, QSize(100, 100), &none).isNull()) << "cut at " << keep;
        EXPECT_EQ(none, QSize(-5, -5));
    }
    // An animation's later frames are not needed for its first picture.
    const QByteArray animation = tinyGif(3);
    EXPECT_FALSE(decodePicture(animation.left(animation.size() - 12), PictureKind::Gif).isNull());
}

// GIF and BMP data carry no checksums or codes that a change would break.
class ScrambledPicture : public ::testing::TestWithParam<const char *>
{
};

TEST_P(ScrambledPicture, ScrambledDataAfterTheHeaderGivesNoPicture)
{
    const QString format = QString::fromLatin1(GetParam());
    QByteArray bytes = pictureIn(format);
    for (qsizetype i = bytes.size() / 3; i < bytes.size() - 2; i += 3)
        bytes[i] = char(bytes[i] ^ 0x5a);
    EXPECT_TRUE(decodePicture(bytes, kindOf(format)).isNull());
}

INSTANTIATE_TEST_SUITE_P(Formats, ScrambledPicture, ::testing::Values("JPG", "PNG", "WEBP"));

INSTANTIATE_TEST_SUITE_P(Formats, DamagedPicture, ::testing::Values("JPG", "PNG", "WEBP", "BMP", "GIF"));

TEST(HostileHeader, HugeSizesAreRefusedBeforeDecoding)
{
    const QByteArray jpeg = encoded(solidImage(16, 16, Qt::red), "JPG");
    // 60000 x 60000 would ask for 14 GB; even at 1/8 it is past the limit.
    EXPECT_TRUE(decodePicture(withJpegSize(jpeg, 60000, 60000), PictureKind::Jpeg, QSize(100, 100)).isNull());
    EXPECT_TRUE(decodePicture(withJpegSize(jpeg, 20000, 20000), PictureKind::Jpeg).isNull());
    const QByteArray png = encoded(solidImage(16, 16, Qt::red), "PNG");
    EXPECT_TRUE(decodePicture(withPngSize(png, 40000, 40000), PictureKind::Png).isNull());
    EXPECT_TRUE(decodePicture(withPngSize(png, 0x7fffffff, 1), PictureKind::Png).isNull());
    EXPECT_TRUE(decodePicture(withGifSize(tinyGif(), 65535, 65535), PictureKind::Gif).isNull());
    EXPECT_EQ(TJPEGImage::readSize(withJpegSize(jpeg, 60000, 60000)), QSize(60000, 60000));
}

TEST(HostileHeader, LargePictureWithinTheThumbnailLimitDecodesSmall)
{
    // 12000 x 9000 is over the full-decode limit but fine at 1/8 for a thumbnail.
    const QByteArray jpeg = encoded(solidImage(12000, 9000, Qt::white), "JPG", 20);
    QSize real;
    const QImage small = decodePicture(jpeg, PictureKind::Jpeg, QSize(100, 100), &real);
    EXPECT_EQ(real, QSize(12000, 9000));
    EXPECT_EQ(small.size(), QSize(1500, 1125));
    EXPECT_TRUE(decodePicture(jpeg, PictureKind::Jpeg).isNull());
}

} // namespace

namespace {

// The peak resident memory of this process so far, in bytes.
qint64 peakResidentBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_maxrss) * 1024;
}

} // namespace

// A few hundred bytes whose progressive frame header claims 20000 x 20000:
// within the thumbnail limit, which counts on decoding at 1/8 (a 2500 x 2500
// bitmap, 25 MB). A progressive picture is buffered whole as coefficients
// before any row comes out, so the limit has to hold for that buffer too.
TEST(HostileHeader, TinyProgressiveFileClaimingAHugeSizeTakesLittleMemoryForItsThumbnail)
{
    QImage grey(16, 16, QImage::Format_Grayscale8);
    grey.fill(128);
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setProgressiveScanWrite(true);
        ASSERT_TRUE(writer.write(grey));
    }
    ASSERT_TRUE(bytes.contains(QByteArray("\xff\xc2", 2))) << "a progressive frame header";
    const QByteArray hostile = withJpegSize(bytes, 20000, 20000);
    ASSERT_LT(hostile.size(), 2000);
    const qint64 before = peakResidentBytes();
    QSize real;
    const QImage image = decodePicture(hostile, PictureKind::Jpeg, QSize(kThumbSize, kThumbSize), &real);
    const qint64 grown = peakResidentBytes() - before;
    EXPECT_TRUE(image.isNull()) << "the data do not hold such a picture";
    EXPECT_LT(grown, qint64(100) * 1024 * 1024)
        << "peak memory grew by " << grown / (1024 * 1024) << " MB for a " << hostile.size() << "-byte file";
}
