// Rules about where one path stands relative to another, on the path texts alone (no disk access).
#pragma once

#include <QString>

class PathRules
{
public:
    // True when `path` is `folder` itself or lies below it; `folder` may end in "/".
    static bool isSameOrInside(const QString &path, const QString &folder);
};
