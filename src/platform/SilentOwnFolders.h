// The program's own folders (settings, support, caches, log) that lie on a mount that does not answer:
// a home or data folder on a network share whose server has gone silent would hold whoever reads or
// writes the program's files there, in the kernel, for good. Each is looked at within the bound a
// mount has to answer (PathLook); while a look finds one silent, the program reads and writes nothing
// there (AppFolders and property lists refuse it) and goes on without what it holds.
#pragma once

#include <QString>
#include <QStringList>

class SilentOwnFolders
{
public:
    // Looks at every own folder, together within one bound; remembers those that did not answer
    // (each logged once per look) in place of those the last look found, and returns them.
    static QStringList look();
    // True when `path` is, or lies in, an own folder the last look found not answering, or on a mount
    // a look has named as not answering since. Never waits.
    static bool holds(const QString &path);
    // An own folder whose write has not answered in time since the last look (OwnFolderWrites), or
    // has answered again; such a folder is held too until it answers.
    static void setStoppedAnswering(const QString &folder, bool stopped);
    // The own folders that stopped answering since they were looked at, and have not answered since.
    static QStringList stoppedAnswering();
};
