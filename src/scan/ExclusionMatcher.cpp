#include "scan/ExclusionMatcher.h"

#include <QDir>
#include <QFileInfo>

#include "app/CommonFunc.h"

namespace
{

// A folder and everything below it.
QString folderAndBelow(const QString &escaped)
{
    return QStringLiteral("(%1|(%1\\/(.*)))").arg(escaped);
}

// The folder as written and, when it resolves to another place (a symlink on the way), the place
// the walk actually reaches.
QStringList spellingsOf(const QString &folder)
{
    QStringList spellings { QDir::cleanPath(folder) };
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (!canonical.isEmpty() && canonical != spellings.front())
        spellings.append(canonical);
    return spellings;
}

} // namespace

ExclusionMatcher::ExclusionMatcher(const QStringList &excludedFolders)
{
    if (excludedFolders.isEmpty())
        return;
    QStringList alternatives;
    for (const QString &folder : excludedFolders) {
        for (const QString &spelling : spellingsOf(folder))
            alternatives.append(folderAndBelow(CommonFunc::escapeRegexCharacters(spelling)));
    }
    alternatives.append(folderAndBelow(QStringLiteral("/Volumes/(.*)/System")));
    alternatives.append(folderAndBelow(QStringLiteral("/Volumes/(.*)/Library")));
    m_pattern = QRegularExpression(QRegularExpression::anchoredPattern(QLatin1Char('(')
                                       + alternatives.join(QLatin1Char('|')) + QLatin1Char(')')),
        QRegularExpression::DotMatchesEverythingOption);
    m_pattern.optimize();
}

bool ExclusionMatcher::isExcluded(const QString &folderPath) const
{
    if (isEmpty())
        return false;
    return m_pattern.match(folderPath).hasMatch();
}
