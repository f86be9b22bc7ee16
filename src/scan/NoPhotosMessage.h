// The informative text of the "no photos found" alert, and the note on unreadable folders of the
// other ends of a scan: the folders that could not be read (the first, and how many), the files left out as
// smaller than the minimum size and where that limit is set, or else the general advice.
#pragma once

#include <QString>

#include "scan/WalkReport.h"

class NoPhotosMessage
{
public:
    static QString informativeText(const WalkReport &report, qint64 minimumFileSize);
    // The folders that could not be read: the first with why, then how many more, and the photo
    // library read in part; empty when everything was read. Every end of a scan that found
    // something tells it too.
    static QString unreadableFoldersText(const WalkReport &report);
    // The title of that note at the end of a scan that found something.
    static QString unreadableTitle(const WalkReport &report);
};
