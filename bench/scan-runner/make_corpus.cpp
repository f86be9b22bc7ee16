// quennary-make-corpus: writes the generated trees the scan measurements run on.
//   quennary-make-corpus photos DIR COUNT WIDTH HEIGHT [FIRST]  distinct JPEG photos, 100 to a folder,
//                                                        of the seeds from FIRST (0) on
//   quennary-make-corpus heic DIR COUNT WIDTH HEIGHT [FIRST]    the same as HEIC photos
//   quennary-make-corpus small DIR COUNT                 tiny .jpg files (no image data), 1000 to a folder
//   quennary-make-corpus real DIR COUNT [FIRST]          COUNT photos the size cameras and phones make
//                                                        (2 to 12 MP), 100 to a folder: JPEG at camera
//                                                        quality, every 50th PNG, every 100th HEIC, and
//                                                        every 6th an edited copy of the photo before it
//   quennary-make-corpus real-heic DIR COUNT [FIRST]     the same sizes, every photo HEIC, no copies
//   quennary-make-corpus liars DIR COUNT WIDTH HEIGHT CLAIMED_WIDTH CLAIMED_HEIGHT
//                                                        HEIC photos whose 'ispe' box states another size
//   quennary-make-corpus copies DIR COUNT WIDTH HEIGHT   natural-looking photos, each in its own folder
//                                                        beside its copies (half size, quality 60, PNG,
//                                                        turned 90/180/270, mirrored)
//   quennary-make-corpus pan DIR COUNT WIDTH HEIGHT [SEED]  frames of a pan across one photo
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QtConcurrent>
#include <QtEndian>

#include <libheif/heif.h>

#include "support/NaturalPhoto.h"

namespace
{

// Smooth random terrain: a coarse grid of random values, bilinearly interpolated per channel, so
// every seed gives a different picture with photo-like large-scale structure.
QImage terrain(int seed, int width, int height)
{
    std::mt19937 random(std::uint32_t(seed) * 7919u + 1u);
    constexpr int kGrid = 6;
    float grid[3][kGrid + 1][kGrid + 1];
    for (auto &channel : grid)
        for (auto &row : channel)
            for (float &v : row)
                v = float(random() % 256);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const float gy = float(y) * kGrid / float(height);
        const int y0 = int(gy);
        const float fy = gy - float(y0);
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const float gx = float(x) * kGrid / float(width);
            const int x0 = int(gx);
            const float fx = gx - float(x0);
            int c[3];
            for (int k = 0; k < 3; ++k) {
                const float top = grid[k][y0][x0] * (1 - fx) + grid[k][y0][x0 + 1] * fx;
                const float bottom = grid[k][y0 + 1][x0] * (1 - fx) + grid[k][y0 + 1][x0 + 1] * fx;
                c[k] = int(top * (1 - fy) + bottom * fy) ^ int((x * y + seed) & 7);
            }
            line[x] = qRgb(c[0] & 255, c[1] & 255, c[2] & 255);
        }
    }
    return image;
}

// Runs `write(i)` for 0 <= i < count on all cores; 0 when every one succeeded, else 1.
int forEachSeed(int count, const std::function<bool(int)> &write)
{
    std::atomic<int> failed { 0 };
    QList<int> seeds;
    for (int i = 0; i < count; ++i)
        seeds.append(i);
    QtConcurrent::blockingMap(seeds, [&](int i) {
        if (!write(i))
            ++failed;
    });
    return failed == 0 ? 0 : 1;
}

bool writeHeic(const QImage &picture, const QString &path)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    heif_context *context = heif_context_alloc();
    heif_encoder *encoder = nullptr;
    heif_image *image = nullptr;
    heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder);
    // The fastest preset: the corpus is read, never looked at.
    heif_encoder_set_lossy_quality(encoder, 50);
    heif_encoder_set_parameter_string(encoder, "preset", "ultrafast");
    heif_image_create(rgb.width(), rgb.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
    heif_image_add_plane(image, heif_channel_interleaved, rgb.width(), rgb.height(), 8);
    int stride = 0;
    uint8_t *plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(plane + y * stride, rgb.constScanLine(y), size_t(rgb.width()) * 3);
    const bool ok = heif_context_encode_image(context, image, encoder, nullptr, nullptr).code == heif_error_Ok
        && heif_context_write_to_file(context, QFile::encodeName(path).constData()).code == heif_error_Ok;
    heif_image_release(image);
    heif_encoder_release(encoder);
    heif_context_free(context);
    return ok;
}

// Seeds from `first` on, 100 to a folder, named by seed, so trees made in parts add up to one.
int photos(const QString &dir, int count, int width, int height, int first, bool heic)
{
    return forEachSeed(count, [&](int i) {
        const int seed = first + i;
        const QString folder = QStringLiteral("%1/f%2").arg(dir).arg(seed / 100, 3, 10, QLatin1Char('0'));
        QDir().mkpath(folder);
        const QString path = QStringLiteral("%1/p%2.%3")
                                 .arg(folder)
                                 .arg(seed, 6, 10, QLatin1Char('0'))
                                 .arg(QLatin1String(heic ? "heic" : "jpg"));
        const QImage picture = terrain(seed, width, height);
        return heic ? writeHeic(picture, path) : picture.save(path, "JPEG", 92);
    });
}

int copies(const QString &dir, int count, int width, int height)
{
    return forEachSeed(count, [&](int i) {
        const QString folder = QStringLiteral("%1/c%2").arg(dir).arg(i, 5, 10, QLatin1Char('0'));
        QDir().mkpath(folder);
        const QImage picture = NaturalPhoto::make(i, width, height);
        bool ok
            = picture.save(folder + QStringLiteral("/original.jpg"), "JPEG", NaturalPhoto::kCameraQuality);
        for (NaturalPhoto::Copy copy : NaturalPhoto::kCopies)
            ok = NaturalPhoto::writeCopy(picture, copy,
                     QStringLiteral("%1/%2.%3")
                         .arg(folder, QLatin1String(NaturalPhoto::copyName(copy)),
                             QLatin1String(NaturalPhoto::copySuffix(copy))))
                && ok;
        return ok;
    });
}

// Frames 0 to COUNT - 1 (at most 21) of a pan across one photo, each frame WIDTH wide and moved on
// by a hundredth of the photo's width.
int pan(const QString &dir, int count, int width, int height, int seed)
{
    QDir().mkpath(dir);
    const QImage picture = NaturalPhoto::make(seed, width * 5 / 4, height);
    return forEachSeed(count, [&](int i) {
        return picture.copy(i * picture.width() / 100, 0, width, height)
            .save(QStringLiteral("%1/frame%2.jpg").arg(dir).arg(i, 2, 10, QLatin1Char('0')), "JPEG",
                NaturalPhoto::kCameraQuality);
    });
}

// The sizes of cameras and phones, 2 to 12 MP.
constexpr QSize kRealSizes[] = { QSize(1920, 1080), QSize(2048, 1536), QSize(2592, 1944), QSize(3264, 2448),
    QSize(4000, 3000), QSize(4032, 3024) };

// A natural picture at full size: its structure made at half size and enlarged, with sensor grain at
// full size, so a 12 MP picture costs a quarter of what its whole-size making would.
QImage realPicture(int seed, const QSize &size)
{
    QImage picture = NaturalPhoto::make(seed, size.width() / 2, size.height() / 2)
                         .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_RGB32);
    std::uint32_t state = std::uint32_t(seed) * 2246822519u + 1u;
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int d = int(state % 5) - 2;
            const QRgb p = line[x];
            line[x] = qRgb(std::clamp(qRed(p) + d, 0, 255), std::clamp(qGreen(p) + d, 0, 255),
                std::clamp(qBlue(p) + d, 0, 255));
        }
    }
    return picture;
}

QSize realSize(int seed)
{
    const QSize size = kRealSizes[std::size_t(seed * 7 + seed / 13) % std::size(kRealSizes)];
    return seed % 4 == 3 ? size.transposed() : size;
}

// File `seed` of the real-size tree; the file before an edited copy writes the copy too, so each
// picture is made once.
bool realFile(const QString &dir, int seed)
{
    if (seed % 6 == 5)
        return true;
    const QString folder = QStringLiteral("%1/r%2").arg(dir).arg(seed / 100, 3, 10, QLatin1Char('0'));
    const QString stem = QStringLiteral("%1/p%2").arg(folder).arg(seed, 6, 10, QLatin1Char('0'));
    QDir().mkpath(folder);
    const bool png = seed % 50 == 7;
    // PNG keeps every byte: only the smaller sizes, as screenshots and exports are.
    const QImage picture = realPicture(seed, png ? kRealSizes[seed % 2] : realSize(seed));
    bool ok = png ? picture.save(stem + QStringLiteral(".png"), "PNG")
        : seed % 100 == 13
        ? writeHeic(picture, stem + QStringLiteral(".heic"))
        : picture.save(stem + QStringLiteral(".jpg"), "JPEG", NaturalPhoto::kCameraQuality);
    if (seed % 6 == 4) {
        const NaturalPhoto::Copy copy
            = NaturalPhoto::kCopies[std::size_t(seed / 6) % std::size(NaturalPhoto::kCopies)];
        const QString edited = QStringLiteral("%1/p%2-%3.%4")
                                   .arg(folder)
                                   .arg(seed + 1, 6, 10, QLatin1Char('0'))
                                   .arg(QLatin1String(NaturalPhoto::copyName(copy)),
                                       QLatin1String(NaturalPhoto::copySuffix(copy)));
        ok = NaturalPhoto::writeCopy(picture, copy, edited) && ok;
    }
    return ok;
}

int real(const QString &dir, int count, int first, bool heic)
{
    return forEachSeed(count, [&](int i) {
        if (!heic)
            return realFile(dir, first + i);
        const int seed = first + i;
        const QString folder = QStringLiteral("%1/h%2").arg(dir).arg(seed / 100, 3, 10, QLatin1Char('0'));
        QDir().mkpath(folder);
        return writeHeic(realPicture(seed, realSize(seed)),
            QStringLiteral("%1/p%2.heic").arg(folder).arg(seed, 6, 10, QLatin1Char('0')));
    });
}

// Rewrites the first 'ispe' box of a HEIC file (the picture's) to state `stated`.
bool restateSize(const QString &path, const QSize &stated)
{
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadWrite) ? file.readAll() : QByteArray();
    const qsizetype at = bytes.indexOf("ispe");
    const quint32 fields[]
        = { qToBigEndian(quint32(stated.width())), qToBigEndian(quint32(stated.height())) };
    return at >= 0 && file.seek(at + 8) && file.write(reinterpret_cast<const char *>(fields), 8) == 8;
}

int liars(const QString &dir, int count, const QSize &size, const QSize &claimed)
{
    QDir().mkpath(dir);
    return forEachSeed(count, [&](int i) {
        const QString path = QStringLiteral("%1/liar%2.heic").arg(dir).arg(i, 3, 10, QLatin1Char('0'));
        return writeHeic(terrain(i, size.width(), size.height()), path) && restateSize(path, claimed);
    });
}

int small(const QString &dir, int count)
{
    const QByteArray bytes(64, 'x');
    for (int i = 0; i < count; ++i) {
        const QString folder = QStringLiteral("%1/d%2").arg(dir).arg(i / 1000, 3, 10, QLatin1Char('0'));
        if (i % 1000 == 0)
            QDir().mkpath(folder);
        QFile file(QStringLiteral("%1/s%2.jpg").arg(folder).arg(i));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList a = app.arguments();
    if ((a.size() == 6 || a.size() == 7)
        && (a[1] == QLatin1String("photos") || a[1] == QLatin1String("heic")))
        return photos(a[2], a[3].toInt(), a[4].toInt(), a[5].toInt(), a.size() == 7 ? a[6].toInt() : 0,
            a[1] == QLatin1String("heic"));
    if (a.size() == 6 && a[1] == QLatin1String("copies"))
        return copies(a[2], a[3].toInt(), a[4].toInt(), a[5].toInt());
    if ((a.size() == 4 || a.size() == 5)
        && (a[1] == QLatin1String("real") || a[1] == QLatin1String("real-heic")))
        return real(a[2], a[3].toInt(), a.size() == 5 ? a[4].toInt() : 0, a[1] == QLatin1String("real-heic"));
    if (a.size() == 8 && a[1] == QLatin1String("liars"))
        return liars(
            a[2], a[3].toInt(), QSize(a[4].toInt(), a[5].toInt()), QSize(a[6].toInt(), a[7].toInt()));
    if ((a.size() == 6 || a.size() == 7) && a[1] == QLatin1String("pan"))
        return pan(a[2], a[3].toInt(), a[4].toInt(), a[5].toInt(), a.size() == 7 ? a[6].toInt() : 0);
    if (a.size() == 4 && a[1] == QLatin1String("small"))
        return small(a[2], a[3].toInt());
    std::fprintf(stderr,
        "usage: quennary-make-corpus photos|heic DIR COUNT WIDTH HEIGHT [FIRST] | copies DIR COUNT WIDTH "
        "HEIGHT | pan DIR COUNT WIDTH HEIGHT [SEED] | small DIR COUNT | real|real-heic DIR COUNT [FIRST] | liars DIR COUNT WIDTH HEIGHT "
        "CLAIMED_WIDTH "
        "CLAIMED_HEIGHT\n");
    return 2;
}
