// The texts the results window shows for its counts: footer, header box, scan-complete sheet, group
// headers and the info line of a grid cell, each from the string table; and what keeps the album
// of marked duplicates from being written.
#pragma once

#include <cstdint>

#include <QDateTime>
#include <QString>

#include "app/GlobalObjects.h"

class DuplicatesGroup;

class ResultTexts
{
public:
    static QString sizeText(std::uint64_t bytes);
    static QString photosMarked(int countMarked);
    static QString duplicatesInGroups(int cDup, int groups);
    static QString duplicatesFound(int cDup);
    static QString spaceToBeSaved(std::uint64_t sizeToClean);
    static QString scanned();
    static QString autoMarkInstruction(int cDup, std::uint64_t sizeToClean);
    // Why the album of marked duplicates cannot be written, naming the folder of `albumFile`.
    static QString albumFolderNotWritable(const QString &albumFile);

    // Why "Only Videos" shows nothing: a similar scan never compares videos, so another location
    // would not help there.
    static QString noDuplicateVideosHint(GlobalObjects::CompareType compareType);

    // "Duplicate Group N" for the zero-based section.
    static QString groupTitle(int section);
    // "<count> <Photos|Videos>": the word follows the group's first shown member.
    static QString groupCount(int count, const DuplicatesGroup &group);
    // Creation date ("MMM dd, yyyy"; empty without one), a space and the size.
    static QString cellInfo(const QDateTime &createDate, std::uint64_t fileSize);
};
