// Per-photo image work of a similar-match scan: thumbnail, grey copy and the eight turned and
// mirrored variants, on 12-megapixel JPEGs with and without a valid embedded thumbnail, beside the
// two decoder baselines it is judged against (full decode, and QImageReader's scaled decode alone).
// Single-threaded, so items_per_second is photos per second per core.
#include <benchmark/benchmark.h>

#include <random>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include "model/ImageProcessing.h"
#include "platform/AreaAverage.h"
#include "platform/ImageSource.h"

#include "PictureGrain.h"

namespace
{

constexpr int kPhotos = 6;
constexpr int kBitmapSize = 80;

// A camera-like picture: gradients, shapes and sensor noise, so the JPEG is as costly to decode as
// a real photo of the same size (a flat picture decodes far faster).
QImage cameraLikePicture(int seed)
{
    QImage picture(4000, 3000, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient sky(0, 0, 4000, 3000);
    sky.setColorAt(0, QColor::fromHsv((seed * 47) % 360, 120, 230));
    sky.setColorAt(1, QColor::fromHsv((seed * 47 + 120) % 360, 200, 90));
    painter.fillRect(picture.rect(), sky);
    std::mt19937 random(static_cast<uint32_t>(seed));
    for (int i = 0; i < 60; ++i) {
        painter.setBrush(QColor::fromHsv(int(random() % 360), 150, int(80 + random() % 170)));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(
            int(random() % 4000), int(random() % 3000), int(100 + random() % 900), int(100 + random() % 700));
    }
    painter.end();
    PictureGrain::add(picture, random, 8);
    return picture;
}

void embedThumbnail(const QString &path, const QImage &picture)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    picture.scaled(160, 120, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).save(&buffer, "JPEG", 85);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    auto image = Exiv2::ImageFactory::open(std::string(QFile::encodeName(path).constData()));
#pragma GCC diagnostic pop
    image->readMetadata();
    Exiv2::ExifData &exif = image->exifData();
    exif["Exif.Image.Make"] = std::string("Bench");
    exif["Exif.Image.Orientation"] = uint16_t(1);
    exif["Exif.Photo.DateTimeOriginal"] = std::string("2024:05:01 12:00:00");
    Exiv2::ExifThumb(exif).setJpegThumbnail(
        reinterpret_cast<const Exiv2::byte *>(jpeg.constData()), jpeg.size());
    image->writeMetadata();
}

struct PhotoSet {
    QTemporaryDir dir { QDir::tempPath() + QStringLiteral("/quennary-bench-XXXXXX") };
    QStringList withThumbnail;
    QStringList withoutThumbnail;
    QStringList png;

    PhotoSet()
    {
        for (int i = 0; i < kPhotos; ++i) {
            const QImage picture = cameraLikePicture(i + 1);
            const QString plain = dir.filePath(QStringLiteral("plain-%1.jpg").arg(i));
            const QString rich = dir.filePath(QStringLiteral("thumb-%1.jpg").arg(i));
            picture.save(plain, "JPEG", 92);
            QFile::copy(plain, rich);
            embedThumbnail(rich, picture);
            withoutThumbnail.append(plain);
            withThumbnail.append(rich);
            if (i < 2) {
                png.append(dir.filePath(QStringLiteral("plain-%1.png").arg(i)));
                picture.save(png.back(), "PNG");
            }
        }
    }
};

PhotoSet &photos()
{
    static PhotoSet set;
    return set;
}

void hashInputs(const QString &path)
{
    const auto thumbnail = ImageProcessing::resizeImageWithFilePath(path, kBitmapSize);
    const QImage grey = ImageProcessing::convertOriginalImageToBWImageWithOriginalImage(thumbnail);
    const QImage mirrored = ImageProcessing::getOrientatedFlipImage(grey, 0);
    QImage variants[8] = { grey, {}, {}, {}, mirrored };
    for (int i = 1; i < 4; ++i) {
        variants[i] = ImageProcessing::getOrientatedImage(grey, -90.0 * i);
        variants[4 + i] = ImageProcessing::getOrientatedImage(mirrored, -90.0 * i);
    }
    benchmark::DoNotOptimize(variants);
}

void runOver(
    benchmark::State &state, const QStringList &files, const std::function<void(const QString &)> &work)
{
    int next = 0;
    for (auto _ : state) {
        work(files[next]);
        next = (next + 1) % files.size();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_FullDecode(benchmark::State &state)
{
    runOver(state, photos().withThumbnail, [](const QString &path) {
        QImageReader reader(path);
        benchmark::DoNotOptimize(reader.read());
    });
}

void BM_QImageReaderScaledDecode(benchmark::State &state)
{
    runOver(state, photos().withoutThumbnail, [](const QString &path) {
        QImageReader reader(path);
        reader.setScaledSize(QSize(kBitmapSize, kBitmapSize * 3 / 4));
        benchmark::DoNotOptimize(reader.read());
    });
}

// A format the decoder cannot scale: decoded whole, then reduced.
void BM_QImageReaderScaledDecodePng(benchmark::State &state)
{
    runOver(state, photos().png, [](const QString &path) {
        QImageReader reader(path);
        reader.setScaledSize(QSize(kBitmapSize, kBitmapSize * 3 / 4));
        benchmark::DoNotOptimize(reader.read());
    });
}

void BM_HashInputsPng(benchmark::State &state)
{
    runOver(state, photos().png, hashInputs);
}

void BM_HashInputsEmbeddedThumbnail(benchmark::State &state)
{
    runOver(state, photos().withThumbnail, hashInputs);
}

void BM_HashInputsNoThumbnail(benchmark::State &state)
{
    runOver(state, photos().withoutThumbnail, hashInputs);
}

// The reduction a format without scaled decoding (PNG, HEIF) needs after its full decode: ours, and
// Qt's smooth scaling for comparison.
const QImage &fullPicture()
{
    static const QImage picture = cameraLikePicture(99);
    return picture;
}

void BM_AreaAverageFullPicture(benchmark::State &state)
{
    fullPicture();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            AreaAverage::reduced(fullPicture(), QSize(kBitmapSize * 4, kBitmapSize * 3)));
    state.SetItemsProcessed(state.iterations());
}

void BM_QtSmoothScaleFullPicture(benchmark::State &state)
{
    fullPicture();
    for (auto _ : state)
        benchmark::DoNotOptimize(fullPicture().scaled(
            kBitmapSize * 4, kBitmapSize * 3, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_FullDecode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_QImageReaderScaledDecode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HashInputsEmbeddedThumbnail)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HashInputsNoThumbnail)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_QImageReaderScaledDecodePng)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HashInputsPng)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AreaAverageFullPicture)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_QtSmoothScaleFullPicture)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ImageSource::initializeLibraries();
    photos();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
