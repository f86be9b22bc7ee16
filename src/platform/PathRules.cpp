#include "platform/PathRules.h"

#include <QDir>

bool PathRules::isSameOrInside(const QString &path, const QString &folder)
{
    if (path == folder)
        return true;
    // Comparing against "folder/" keeps "/photos-old" from counting as inside "/photos".
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return path.startsWith(prefix);
}

bool PathRules::isNormalisedAbsolute(const QString &path)
{
    // A NUL would cut the path short on its way to the system and name a parent folder.
    return path.startsWith(QLatin1Char('/')) && !path.contains(QChar(0)) && QDir::cleanPath(path) == path;
}
