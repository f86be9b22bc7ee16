// Count texts of the results window.
#include "results/ResultTexts.h"

#include <QDir>
#include <QFileInfo>

#include "app/CommonFunc.h"
#include "app/LocalizedString.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/TextFormat.h"

QString ResultTexts::sizeText(std::uint64_t bytes)
{
    return CommonFunc::formattedSize(QVariant::fromValue<qulonglong>(bytes));
}

QString ResultTexts::photosMarked(int countMarked)
{
    return formatText(localizedString(QStringLiteral("ID_PHOTOS_MARKED")), countMarked);
}

QString ResultTexts::duplicatesInGroups(int cDup, int groups)
{
    const char *key = "ID_DUPLICATE_PHOTOS_IN_GROUPS";
    if (groups == 1)
        key = cDup == 1 ? "ID_DUPLICATE_PHOTO_IN_GROUP" : "ID_DUPLICATE_PHOTOS_IN_GROUP";
    return formatText(localizedString(QString::fromLatin1(key)), cDup, groups);
}

QString ResultTexts::duplicatesFound(int cDup)
{
    return formatText(localizedString(QStringLiteral("ID_DUPLICATE_PHOTOS_FOUND_COUNT")), cDup);
}

QString ResultTexts::spaceToBeSaved(std::uint64_t sizeToClean)
{
    return formatText(localizedString(QStringLiteral("ID_SPACE_TOBE_SAVED_COUNT")), sizeText(sizeToClean));
}

QString ResultTexts::scanned()
{
    return localizedString(QStringLiteral("ID_SCANNED"));
}

QString ResultTexts::autoMarkInstruction(int cDup, std::uint64_t sizeToClean)
{
    const QString format = localizedString(QStringLiteral("ID_FOUND_DUPLICATES_OCCUPING_SPACE")) + QLatin1Char(' ')
                           + localizedString(QStringLiteral("ID_RECOMMENDED_TO_DELETE_UNWANTED_PHOTOS_IMMEDIATELY"));
    return formatText(format, cDup, sizeText(sizeToClean));
}

QString ResultTexts::albumFolderNotWritable(const QString &albumFile)
{
    return formatText(localizedString(QStringLiteral("ID_ALBUM_FILE_FOLDER_NOT_WRITABLE")),
        QDir::toNativeSeparators(QFileInfo(albumFile).absolutePath()));
}

QString ResultTexts::groupTitle(int section)
{
    return formatText(localizedString(QStringLiteral("ID_DUPLICATE_GROUP")), section + 1);
}

QString ResultTexts::groupCount(int count, const DuplicatesGroup &group)
{
    const bool videos = !group.filterChildren.isEmpty() && group.filterChildren.first()->isVideo;
    const QString word = localizedString(videos ? QStringLiteral("ID_VIDEOS") : QStringLiteral("ID_PHOTOS"));
    return formatText(QStringLiteral("%d %@"), count, word);
}

QString ResultTexts::cellInfo(const QDateTime &createDate, std::uint64_t fileSize)
{
    return CommonFunc::getStringFrom(createDate).value_or(QString()) + QLatin1Char(' ') + sizeText(fileSize);
}

QString ResultTexts::noDuplicateVideosHint(GlobalObjects::CompareType compareType)
{
    return localizedString(compareType == GlobalObjects::CompareType::ctHash
            ? QStringLiteral("ID_VIDEOS_ARE_COMPARED_IN_EXACT_MATCH")
            : QStringLiteral("ID_PLEASE_SELECT_ANOTHER_LOCATION_FOR_VIDEOS"));
}
