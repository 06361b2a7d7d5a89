// Thumbnails of a folder of camera-sized JPEG pictures: the loader's DCT
// scaled decode against a full decode scaled down afterwards, one picture
// at a time and the whole folder through the browser's scan (two worker
// threads, in name order).

#include "benchutil.h"
#include "docs/jpegimage.h"
#include "docs/picload.h"
#include "docs/picscan.h"

#include <QBuffer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kPictures = 24;

// A picture with detail everywhere, so the entropy decoder has real work.
QByteArray cameraJpeg(int width, int height, std::uint64_t seed)
{
    benchutil::Rng rng(seed);
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(image.rect(), QColor(rng.below(256), rng.below(256), rng.below(256)));
    for (int i = 0; i < 400; ++i)
        painter.fillRect(rng.below(width), rng.below(height), rng.between(4, width / 4), rng.between(4, height / 4),
                         QColor(rng.below(256), rng.below(256), rng.below(256)));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 85);
    return bytes;
}

struct Folder {
    QTemporaryDir dir;
    QList<QByteArray> files;
    Folder()
    {
        for (int i = 0; i < kPictures; ++i) {
            files.append(cameraJpeg(4000, 3000, std::uint64_t(i) + 1));
            QFile file(dir.filePath(QStringLiteral("p%1.jpg").arg(i, 2, 10, QLatin1Char('0'))));
            file.open(QIODevice::WriteOnly);
            file.write(files.last());
        }
    }
};

Folder &folder()
{
    static Folder f;
    return f;
}

void BM_ThumbnailDctScaled(benchmark::State &state)
{
    qsizetype i = 0;
    for (auto _ : state) {
        const QByteArray &bytes = folder().files[i++ % kPictures];
        QSize real;
        const QImage small = decodePicture(bytes, PictureKind::Jpeg, QSize(kThumbSize, kThumbSize), &real);
        benchmark::DoNotOptimize(makeThumbnailFrom(small, real));
    }
    state.SetLabel("4000x3000, decoded at 1/8");
}

void BM_ThumbnailFullDecode(benchmark::State &state)
{
    qsizetype i = 0;
    for (auto _ : state) {
        TJPEGImage jpeg;
        jpeg.load(folder().files[i++ % kPictures]);
        benchmark::DoNotOptimize(makeThumbnailFrom(jpeg.bitmap(), QSize(jpeg.width(), jpeg.height())));
    }
    state.SetLabel("4000x3000, decoded whole");
}

void BM_ScanFolder(benchmark::State &state)
{
    for (auto _ : state) {
        PictureScan scan;
        int found = 0;
        QEventLoop loop;
        QObject::connect(&scan, &PictureScan::found, [&found] { ++found; });
        QObject::connect(&scan, &PictureScan::finished, &loop, &QEventLoop::quit);
        scan.start(folder().dir.path());
        if (scan.isRunning())
            loop.exec();
        if (found != kPictures)
            state.SkipWithError("not every picture was listed");
    }
    state.SetItemsProcessed(state.iterations() * kPictures);
}

} // namespace

BENCHMARK(BM_ThumbnailDctScaled)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThumbnailFullDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanFolder)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    // The pictures are made before the clock runs.
    folder();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
