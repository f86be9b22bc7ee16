#include "scan/ExclusionMatcher.h"

#include "app/CommonFunc.h"

namespace
{

// A folder and everything below it.
QString folderAndBelow(const QString &escaped)
{
    return QStringLiteral("(%1|(%1\\/(.*)))").arg(escaped);
}

} // namespace

ExclusionMatcher::ExclusionMatcher(const QStringList &excludedFolders)
{
    if (excludedFolders.isEmpty())
        return;
    QStringList alternatives;
    for (const QString &folder : excludedFolders)
        alternatives.append(folderAndBelow(CommonFunc::escapeRegexCharacters(folder)));
    alternatives.append(folderAndBelow(QStringLiteral("/Volumes/(.*)/System")));
    alternatives.append(folderAndBelow(QStringLiteral("/Volumes/(.*)/Library")));
    m_pattern = QRegularExpression(QRegularExpression::anchoredPattern(QLatin1Char('(')
                                       + alternatives.join(QLatin1Char('|')) + QLatin1Char(')')),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    m_pattern.optimize();
}

bool ExclusionMatcher::isExcluded(const QString &folderPath) const
{
    if (isEmpty())
        return false;
    return m_pattern.match(folderPath).hasMatch();
}
