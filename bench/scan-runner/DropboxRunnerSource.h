// The runner's Dropbox source: the main window in Dropbox mode with the chosen folders on its
// scan list, and a fixed bearer token from QUENNARY_CLOUD_ACCESS_TOKEN.
#pragma once

#include <memory>

#include <QStringList>

class DropBoxHandler;
class MainViewController;

namespace DropboxRunnerSource
{

// Null (and one stderr line) when no token is set.
std::shared_ptr<DropBoxHandler> prepareDropboxScan(
    MainViewController &controller, const QStringList &folders);
// "" and "/" are the root "Dropbox"; "/Trips" and "Trips" become "Dropbox/Trips".
QString programPath(const QString &folder);

} // namespace DropboxRunnerSource
