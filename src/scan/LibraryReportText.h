// What a scan tells of the photo library it could not read, or read without some of its files:
// which library, which database and what stood in the way, or how many items had no file.
#pragma once

#include <QString>

#include "scan/WalkReport.h"

class LibraryReportText
{
public:
    // The library that could not be read, its database and the reason; empty when it was read.
    static QString unreadable(const WalkReport &report);
    // The library read in part: larger than a scan reads, too large to copy, or cut short where
    // its query failed, with how many items were taken; empty when it was read whole.
    static QString readInPart(const WalkReport &report);
    // The items of the library whose original file is not in it: how many, and the first; empty
    // when there were none.
    static QString filesMissing(const WalkReport &report);
};
