// Decides which folders a scan never enters: the excluded folders of the settings (each with
// everything below it) and the System and Library folders at the top of a mounted volume. A folder
// is excluded by its path, compared literally and by whole components (case included: two folders
// whose names differ only in case are two folders), as written or with its links resolved, and by
// its identity, so another spelling of it (a link above it, a bind mount) leads nowhere either.
#pragma once

#include <atomic>

#include <QSet>
#include <QStringList>
#include <QVariantList>

#include "platform/FileFacts.h"

class ExclusionMatcher
{
public:
    // An empty list matches nothing: a user who empties the list means "exclude nothing". Each
    // folder's identity and real path are taken here, once, all together and apart (see PathLook):
    // a folder on a share that does not answer, or when `stop` is set, is known by its path alone.
    explicit ExclusionMatcher(
        const QStringList &excludedFolders = {}, const std::atomic<bool> *stop = nullptr);

    // The folders of the stored "excludedFolders": an entry that is not text, or is empty, is
    // refused (one log line for all of them), never read as a folder.
    static QStringList foldersFrom(const QVariantList &stored);

    bool isExcluded(const QString &folderPath) const;
    // True when `folder` is one of the excluded folders, whatever path led to it.
    bool isExcluded(const FileIdentity &folder) const { return m_identities.contains(folder); }
    bool isEmpty() const { return m_folders.isEmpty(); }

private:
    // Every spelling of every excluded folder, cleaned.
    QStringList m_folders;
    QSet<FileIdentity> m_identities;
};
