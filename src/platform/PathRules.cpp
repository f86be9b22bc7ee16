#include "platform/PathRules.h"

bool PathRules::isSameOrInside(const QString &path, const QString &folder)
{
    if (path == folder)
        return true;
    // Comparing against "folder/" keeps "/photos-old" from counting as inside "/photos".
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return path.startsWith(prefix);
}
