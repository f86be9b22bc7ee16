// The informative text of the "no photos found" alert, and the note on what was left out of the
// other ends of a scan: the folders that did not answer, those of the scan list that are not there,
// those that could not be read and those left
// out as a Trash (the first of each, and how many), the cloud files that could not be fetched (how
// many, the first and why), the files left out as smaller than the minimum size and where that limit
// is set, those outside the scan's dates, or else the general advice.
#pragma once

#include <QString>

#include "scan/WalkReport.h"

class NoPhotosMessage
{
public:
    // The title of the "no photos found" alert: a photo library that could not be read says so.
    static QString messageText(const WalkReport &report);
    static QString informativeText(const WalkReport &report, qint64 minimumFileSize);
    // The files left out as smaller than `minimumFileSize`, those of a type unticked in the settings
    // and the photos and folders whose names are not valid UTF-8: how many, and the size, the types or
    // the folder of the first; empty when there were none.
    static QString leftOutFilesText(const WalkReport &report, qint64 minimumFileSize);
    // The folders that did not answer, those not found, those that could not be read, then those
    // left out as a Trash
    // (the first of each, then how many more), then the photo library read in part, then the cloud
    // files not fetched; empty when everything was read. Every end of a scan that found something
    // tells it too.
    static QString skippedFoldersText(const WalkReport &report);
    // The roots and mounts below them that did not answer (a share whose server is silent): the
    // first, then how many more.
    static QString notAnsweringText(const WalkReport &report);
    // The folders of the scan list that are not there: the first, then how many more.
    static QString notFoundText(const WalkReport &report);
    // The folders that could not be read: the first with why, then how many more.
    static QString unreadableFoldersText(const WalkReport &report);
    // The folders left out as a Trash: the first, then how many more.
    static QString trashFoldersText(const WalkReport &report);
    // The photo library that could not be read, naming its database and why, the one larger than a
    // scan reads, and the library items without their file; empty when every library was read whole.
    static QString libraryText(const WalkReport &report);
    // The cloud files whose copy could not be fetched: how many, the first and why.
    static QString notFetchedText(const WalkReport &report);
    // The program's own folder that did not answer, and that the scan went on without.
    static QString ownFolderText(const WalkReport &report);
    // The files outside the scan's dates; empty when there were none.
    static QString periodText(const WalkReport &report);
    // The title of the skipped-folders note at the end of a scan that found something.
    static QString skippedTitle(const WalkReport &report);
    // The parts of an alert's text as paragraphs of their own, a blank line between them.
    static QString paragraphs(const QStringList &parts);

private:
    // `first`, then a line saying how many more the log file names, when there are more.
    static QString withMoreInLog(const QString &first, qint64 more, const char *one, const char *many);
};
