// Tool bar button texts and sizes of the results window.
#include "results/ResultButtonStyles.h"

#include <QStringList>

FileTypeChoice ResultButtonStyles::fileTypeForTag(std::optional<int> tag)
{
    if (!tag || *tag == 0)
        return {GlobalObjects::TypeSupport::ALLFILES, QStringLiteral("ID_ALL_ITEMS"), QStringLiteral("all_items")};
    if (*tag == 1)
        return {GlobalObjects::TypeSupport::ONLYIMAGES, QStringLiteral("ID_ONLY_IMAGES"),
                QStringLiteral("all_images")};
    return {GlobalObjects::TypeSupport::ONLYVIDEO, QStringLiteral("ID_ONLY_VIDEOS"), QStringLiteral("all_videos")};
}

int ResultButtonStyles::toolbarTitleFontSize(const QString &language)
{
    static const QStringList kSmall = {QStringLiteral("ru"), QStringLiteral("fi"), QStringLiteral("fr"),
                                       QStringLiteral("nl"), QStringLiteral("it"), QStringLiteral("pt"),
                                       QStringLiteral("es")};
    return kSmall.contains(language) ? 10 : 12;
}

ListingTitleStyle ResultButtonStyles::listingTitleStyle(const QString &language)
{
    if (language == QLatin1String("sv"))
        return {12, true};
    return {toolbarTitleFontSize(language), false};
}
