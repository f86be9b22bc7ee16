// The informative text of the "no photos found" alert: the folders that could not be read (the
// first, and how many), the files left out as smaller than the minimum size and where that limit
// is set, or else the general advice.
#pragma once

#include <QString>

#include "scan/WalkReport.h"

class NoPhotosMessage
{
public:
    static QString informativeText(const WalkReport &report, qint64 minimumFileSize);
};
