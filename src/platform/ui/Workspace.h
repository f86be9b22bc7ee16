// What the desktop tells about files: the icon it shows for a file or folder. GUI thread only.
#pragma once

#include <QIcon>
#include <QString>

class Workspace
{
public:
    // The desktop's icon for the file or folder at `path`; a generic file icon when it does not exist.
    static QIcon iconForFile(const QString &path);
};
