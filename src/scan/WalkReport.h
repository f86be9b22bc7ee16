// What a walk over the scan list could not take: folders it could not read or that did not answer,
// folders it left out as a Trash, files under the minimum size and a photo library it read in part.
// A scan that finds no photos tells the user from it.
#pragma once

#include <QString>

struct WalkReport {
    int unreadableFolders = 0;
    // The first folder that could not be read, and why.
    QString firstUnreadableFolder;
    QString firstUnreadableReason;
    // Roots, mounts below them and links that did not answer (a network share whose server is
    // silent), and the first of them.
    int notAnsweringFolders = 0;
    QString firstNotAnsweringFolder;
    // Folders left out as a Trash, the Trashes the desktop keeps for this user at their own places
    // aside (the user knows what lies there), and the first of them.
    int trashFolders = 0;
    QString firstTrashFolder;
    int skippedForSize = 0;
    // A photo library larger than a scan reads, and how many of its items were taken (none when
    // its database was too large to copy).
    QString libraryReadInPart;
    qsizetype libraryItemsTaken = 0;
};
