// Decides which folders a scan never enters: the excluded folders of the settings (each with
// everything below it) and the System and Library folders at the top of a mounted volume. Paths are
// compared exactly, case included: two folders whose names differ only in case are two folders.
#pragma once

#include <QRegularExpression>
#include <QStringList>

class ExclusionMatcher
{
public:
    // An empty list matches nothing: a user who empties the list means "exclude nothing".
    explicit ExclusionMatcher(const QStringList &excludedFolders = {});

    bool isExcluded(const QString &folderPath) const;
    bool isEmpty() const { return !m_pattern.isValid() || m_pattern.pattern().isEmpty(); }

private:
    QRegularExpression m_pattern;
};
