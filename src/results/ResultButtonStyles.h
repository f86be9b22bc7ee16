// What the results window's tool bar buttons show: the file-type filter chosen by a menu item, and
// the title sizes of the file-type and listing buttons in each language.
#pragma once

#include <optional>

#include <QString>

#include "app/GlobalObjects.h"

struct FileTypeChoice
{
    GlobalObjects::TypeSupport typeSupport = GlobalObjects::TypeSupport::ALLFILES;
    QString titleKey;
    QString imageName;
};

struct ListingTitleStyle
{
    int fontSize = 12;
    // Swedish draws the title followed by " ." with the last two characters in a second colour.
    bool twoPart = false;
};

class ResultButtonStyles
{
public:
    // Tag 1 images, any other non-zero tag videos, 0 or no menu item all files.
    static FileTypeChoice fileTypeForTag(std::optional<int> tag);
    // Title size of the file-type and listing buttons: 10 in languages with long words, else 12.
    static int toolbarTitleFontSize(const QString &language);
    static ListingTitleStyle listingTitleStyle(const QString &language);
};
