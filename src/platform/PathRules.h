// Rules about where one path stands relative to another, on the path texts alone (no disk access).
#pragma once

#include <QString>

class PathRules
{
public:
    // True when `path` is `folder` itself or lies below it; `folder` may end in "/".
    static bool isSameOrInside(const QString &path, const QString &folder);
    // An absolute path without ".", ".." or empty steps, a trailing "/" or a NUL: what it names does
    // not depend on reading it one way or another.
    static bool isNormalisedAbsolute(const QString &path);
};
