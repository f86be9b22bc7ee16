#include "ScanTestSupport.h"

#include <random>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QRadialGradient>
#include <QTimer>

#include "app/SettingsDefaults.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"

void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace ScanTestSupport
{

QImage makePhoto(int seed, int width, int height)
{
    std::mt19937 random(std::uint32_t(seed) * 2654435761u + 17u);
    std::uniform_int_distribution<int> channel(0, 255);
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient background(0, 0, width, height);
    background.setColorAt(0, QColor(channel(random), channel(random), channel(random)));
    background.setColorAt(1, QColor(channel(random), channel(random), channel(random)));
    painter.fillRect(image.rect(), background);
    painter.setPen(Qt::NoPen);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int i = 0; i < 12; ++i) {
        const QPointF centre(unit(random) * width, unit(random) * height);
        const double radius = (0.1 + 0.3 * unit(random)) * width;
        QRadialGradient blob(centre, radius);
        blob.setColorAt(0, QColor(channel(random), channel(random), channel(random)));
        blob.setColorAt(1, Qt::transparent);
        painter.setBrush(blob);
        painter.drawEllipse(centre, radius, radius);
    }
    painter.end();
    return image;
}

bool writeLargePng(int seed, int width, int height, const QString &path)
{
    const QImage blocky
        = makePhoto(seed, width / 8, height / 8).scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    // The writer's own level of compression: a quality of 90 would store the rows uncompressed.
    return writeImage(blocky, path, -1);
}

bool writeImage(const QImage &image, const QString &path, int quality)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return image.save(path, nullptr, quality);
}

QByteArray randomBytes(int seed, int length)
{
    std::mt19937 random(std::uint32_t(seed) + 99u);
    QByteArray bytes(length, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(random() & 0xff);
    return bytes;
}

ScanOptions options(bool exact, bool rotate, bool mirror)
{
    ScanOptions o;
    ScanGlobalsSnapshot &g = o.globals;
    g.compareType = exact ? GlobalObjects::CompareType::ctMD5 : GlobalObjects::CompareType::ctHash;
    g.matchThreshold = exact ? 0.99 : 0.92;
    g.minimumMatchThreshold = 0.90;
    g.reSizeValue = exact ? 80 : 64;
    g.captureTimeInterval = 86400;
    g.gpsDistanceLimit = 100;
    g.compareRotateImages = rotate;
    g.compareFlipImages = mirror;
    g.minimumAllowFileSize = 0;
    o.allowedExtensions = { QStringLiteral("jpg"), QStringLiteral("png") };
    o.allowVideoScanning = true;
    if (exact) {
        o.allowedExtensions.append(QStringLiteral("mov"));
        o.videoExtensions = { QStringLiteral("mov") };
    }
    return o;
}

FilePathNode folderNode(const QString &path)
{
    FilePathNode node;
    node.filePath = path;
    node.state = 1;
    node.nodeType = GlobalObjects::NodeType::nodeTypefolder;
    return node;
}

FilePathNode fileNode(const QString &path)
{
    FilePathNode node = folderNode(path);
    node.nodeType = GlobalObjects::NodeType::nodeTypefile;
    return node;
}

ScanResult runScan(const ScanOptions &options, const std::vector<FilePathNode> &sources,
    const std::function<void(ScanEngine &, const ScanProgress &)> &onProgress)
{
    return runEngine([&](ScanEngine &engine) { return engine.start(options, sources); }, onProgress);
}

ScanResult runEngine(const std::function<bool(ScanEngine &)> &start,
    const std::function<void(ScanEngine &, const ScanProgress &)> &onProgress)
{
    // The record code reads the registered settings (the fingerprint layout among them).
    static const bool registered = (SettingsDefaults::registerDefaultSettings(), true);
    Q_UNUSED(registered);
    ScanResult result;
    QEventLoop loop;
    ScanEngine *enginePtr = nullptr;
    ScanEngine engine({ [&](const ScanProgress &progress) {
                           result.lastProgress = progress;
                           if (onProgress)
                               onProgress(*enginePtr, progress);
                       },
        {},
        [&](ScanEngine::Outcome outcome, const QList<std::shared_ptr<DuplicatesGroup>> &groups) {
            result.outcome = outcome;
            result.finished = true;
            for (const auto &group : groups) {
                QStringList members;
                for (const auto &record : group->children)
                    members.append(record->filePath);
                result.groups.append(members);
            }
            loop.quit();
        } });
    enginePtr = &engine;
    engine.setResultsDelay(0.0);
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    if (start(engine))
        loop.exec();
    if (const auto session = engine.session()) {
        for (const auto &record : session->arrImagesContent)
            result.records.append(record->filePath);
        result.decoded = session->decoded;
        result.session = session;
        result.walkReport = session->walkReport;
    }
    return result;
}

QList<QStringList> relativeGroups(const QList<QStringList> &groups, const QString &root)
{
    QList<QStringList> relative;
    const QDir base(root);
    for (const QStringList &group : groups) {
        QStringList members;
        for (const QString &path : group)
            members.append(base.relativeFilePath(path));
        members.sort();
        relative.append(members);
    }
    return relative;
}

} // namespace ScanTestSupport
