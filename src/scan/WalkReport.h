// What a walk over the scan list could not take: folders it could not read or that did not answer,
// folders it left out as a Trash, files under the minimum size, of an unticked type or outside the
// date window, a photo library it read in part or could not read, and the cloud files whose copy could
// not be fetched for the comparison. The ends of a scan tell the user from it.
#pragma once

#include <QString>
#include <QStringList>

#include "model/LibraryFailure.h"

struct WalkReport {
    int unreadableFolders = 0;
    // The first folder that could not be read, and why.
    QString firstUnreadableFolder;
    QString firstUnreadableReason;
    // Roots, mounts below them and links that did not answer (a network share whose server is
    // silent), and the first of them.
    int notAnsweringFolders = 0;
    QString firstNotAnsweringFolder;
    // Folders of the scan list that are not there (an unplugged drive, a folder removed): the list
    // keeps them and scans pass them over until they are back. The first of them.
    int notFoundFolders = 0;
    QString firstNotFoundFolder;
    // Folders left out as a Trash, the Trashes the desktop keeps for this user at their own places
    // aside (the user knows what lies there), and the first of them.
    int trashFolders = 0;
    QString firstTrashFolder;
    int skippedForSize = 0;
    // Files of a type unticked in the settings, and those types' extensions (upper case, as met).
    int skippedForType = 0;
    QStringList skippedTypes;
    // Photos and folders left out as their names are not valid UTF-8 (such a name decodes lossily and
    // could stand for another file), and the folder holding the first of them.
    int skippedForName = 0;
    QString firstSkippedForNameFolder;
    // Files whose date lies outside the scan's date window.
    int outsideScanPeriod = 0;
    // Cloud files left out of the comparison as their copy could not be fetched; the first, and why.
    int notFetched = 0;
    QString firstNotFetched;
    QString firstNotFetchedReason;
    // A photo library larger than a scan reads, or whose query failed part way, and how many of its
    // items were taken (none when its database was too large to copy).
    QString libraryReadInPart;
    qsizetype libraryItemsTaken = 0;
    // Where and why its query failed part way; no failure when it was only larger than a scan reads.
    QString libraryCutShortDatabase;
    LibraryFailure libraryCutShortFailure;
    // A photo library that could not be read, its database, and why.
    QString unreadableLibrary;
    QString unreadableLibraryDatabase;
    LibraryFailure unreadableLibraryFailure;
    // Items of a photo library whose original file is not in it (kept elsewhere, or removed), and
    // the first of them: there is nothing of theirs to compare.
    int libraryFilesMissing = 0;
    QString firstLibraryFileMissing;
    // The first of the program's own folders that did not answer as the scan started.
    QString firstSilentOwnFolder;
};
