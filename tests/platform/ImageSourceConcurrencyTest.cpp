// Hashing threads read many files at once: results must not depend on what other threads do.
#include <gtest/gtest.h>

#include <thread>

#include <QTemporaryDir>

#include "platform/ImageSource.h"
#include "platform/ImageSourceDngWriter.h"
#include "platform/ImageSourceFixtures.h"
#include "support/TestFiles.h"

using namespace ImageSourceFixtures;

namespace
{

struct Reading {
    QImage thumbnail;
    QVariantMap properties;
};

Reading readFile(const QString &path)
{
    const ImageSource source(path);
    return { source.thumbnail(64), source.properties() };
}

QStringList makeFiles(const QTemporaryDir &dir)
{
    QStringList files;
    for (int i = 0; i < 6; ++i) {
        const QString file = dir.filePath(QStringLiteral("p%1.jpg").arg(i));
        storedFor(markedImage(QSize(300 + 10 * i, 200)), i % 2 ? 6 : 1).save(file, "JPEG");
        editMetadata(file, [&](Exiv2::ExifData &exif) {
            exif["Exif.Image.Orientation"] = uint16_t(i % 2 ? 6 : 1);
            exif["Exif.Photo.DateTimeOriginal"] = std::string("2022:01:0") + char('1' + i) + " 10:00:00";
            if (i % 3 == 0)
                setEmbeddedThumbnail(exif, markedImage(QSize(150 + 5 * i, 100)));
        });
        // XMP packets go through Exiv2's XMP toolkit, which needs its lock across threads.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        auto image = Exiv2::ImageFactory::open(std::string(QFile::encodeName(file).constData()));
#pragma GCC diagnostic pop
        image->readMetadata();
        image->xmpData()["Xmp.dc.subject"] = "keyword";
        image->writeMetadata();
        files.append(file);
    }
    const QString png = dir.filePath(QStringLiteral("p.png"));
    markedImage(QSize(250, 120)).save(png, "PNG");
    const QString dng = dir.filePath(QStringLiteral("p.dng"));
    TestFiles::write(dng, ImageSourceDng::dng(markedImage(QSize(160, 120)), 3));
    return files << png << dng;
}

TEST(ImageSourceConcurrencyTest, ParallelReadsGiveTheSameResultsAsSerialOnes)
{
    ImageSource::initializeLibraries();
    QTemporaryDir dir;
    const QStringList files = makeFiles(dir);
    std::vector<Reading> expected;
    for (const QString &file : files)
        expected.push_back(readFile(file));

    constexpr int kThreads = 8;
    std::vector<std::vector<Reading>> results(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 3; ++round) {
                for (int i = 0; i < files.size(); ++i)
                    results[size_t(t)].push_back(readFile(files[(i + t) % files.size()]));
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();

    for (int t = 0; t < kThreads; ++t) {
        for (size_t k = 0; k < results[size_t(t)].size(); ++k) {
            const size_t file = (k % size_t(files.size()) + size_t(t)) % size_t(files.size());
            SCOPED_TRACE(files[int(file)].toStdString());
            EXPECT_EQ(results[size_t(t)][k].thumbnail, expected[file].thumbnail);
            EXPECT_EQ(results[size_t(t)][k].properties, expected[file].properties);
        }
    }
    EXPECT_FALSE(expected.front().thumbnail.isNull());
}

} // namespace
