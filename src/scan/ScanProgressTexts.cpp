#include "scan/ScanProgressTexts.h"

#include "app/CommonFunc.h"
#include "app/LocalizedString.h"
#include "platform/OutsideText.h"
#include "platform/TextFormat.h"

namespace
{

QString pick(bool withVideos, const char *videosKey, const char *photosKey)
{
    return localizedString(QLatin1String(withVideos ? videosKey : photosKey));
}

void addingTexts(const ScanProgress &p, ScanProgressTexts &t)
{
    t.lblAdd = localizedString(QStringLiteral("ID_ADDING"));
    t.lblPhotosAddedCount = QString::number(p.recordCount);
    t.lblScanPath
        = localizedString(QStringLiteral("ID_SCANPATH")) + QStringLiteral(": ") + OutsideText::name(p.path);
    t.lblScanPathToolTip = OutsideText::name(p.path);
    t.lblPhotosAdded = pick(p.withVideos, "ID_PHOTOS_VIDEOS_ADDED", "ID_PHOTOS_ADDED");
    t.lblPhotosCompared = pick(p.withVideos, "ID_PHOTOS_VIDEOS_COMPARED", "ID_PHOTOS_COMPARED");
}

void hashingTexts(const ScanProgress &p, ScanProgressTexts &t)
{
    t.lblAddingPhotos = localizedString(QStringLiteral("ID_SEARCHING_DUPLICATES"));
    t.showPleaseBePatient = true;
    t.lblAdd = localizedString(QStringLiteral("ID_PROCESSING"));
    t.lblPhotosAdded = pick(p.withVideos, "ID_PROCESSED_PHOTOS_VIDEOS", "ID_PHOTOS_ADDED_PROCESSED");
    t.lblPhotosAddedCount = QStringLiteral("%1/%2").arg(p.hashed).arg(p.recordCount);
    t.lblDuplicatePhotosSize = CommonFunc::formattedSize(QVariant::fromValue(p.dupSize));
}

// The exact pass reads files whole: how many bytes of how many.
void readingTexts(const ScanProgress &p, ScanProgressTexts &t)
{
    hashingTexts(p, t);
    t.lblAdd = localizedString(QStringLiteral("ID_READING_FILES"));
    t.lblScanPath = formatText(localizedString(QStringLiteral("ID_READ_BYTES_OF")),
        CommonFunc::formattedSize(QVariant::fromValue(p.bytesRead)),
        CommonFunc::formattedSize(QVariant::fromValue(p.bytesToRead)));
    t.lblScanPathToolTip = QString();
}

void comparingTexts(const ScanProgress &p, ScanProgressTexts &t)
{
    hashingTexts(p, t);
    t.lblAdd = localizedString(QStringLiteral("ID_COMPARING"));
    t.lblAddingPhotos = pick(p.withVideos, "ID_COMARING_PHOTOS_VIDEOS", "ID_COMARING_PHOTOS");
    t.lblScanPath = localizedString(QStringLiteral("ID_COMPARING")).remove(QStringLiteral("..."))
        + QStringLiteral(": ") + OutsideText::name(p.path);
    t.lblScanPathToolTip = OutsideText::name(p.path);
}

} // namespace

QString ScanProgressTexts::percentText(double fraction)
{
    return QString::number(fraction * 100.0, 'f', 0) + QLatin1Char('%');
}

ScanProgressTexts ScanProgressTexts::forProgress(const ScanProgress &progress)
{
    ScanProgressTexts texts;
    switch (progress.stage) {
    case ScanProgress::Stage::Adding:
        addingTexts(progress, texts);
        break;
    case ScanProgress::Stage::Searching:
    case ScanProgress::Stage::Hashing:
        hashingTexts(progress, texts);
        break;
    case ScanProgress::Stage::Reading:
        readingTexts(progress, texts);
        break;
    case ScanProgress::Stage::Comparing:
        comparingTexts(progress, texts);
        break;
    }
    texts.lblPhotosComparedCount = progress.stage == ScanProgress::Stage::Adding
        ? QString::number(progress.compared)
        : QStringLiteral("%1/%2").arg(progress.compared).arg(progress.recordCount);
    texts.lblScanPer = percentText(progress.fraction);
    texts.ringProgress = progress.fraction;
    return texts;
}
