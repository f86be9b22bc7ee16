#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/AppFolders.h"
#include "platform/LoopbackGuard.h"
#include "platform/UserDefaults.h"

namespace
{

QTemporaryDir &tempRoot()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/quennary-test-XXXXXX"));
    return dir;
}

} // namespace

void TestEnvironment::setUp()
{
    const QString rootPath = tempRoot().path();
    AppFolders::setRootOverride(rootPath);
    // The freedesktop Trash lives below $XDG_DATA_HOME: tests that trash files must never reach the
    // user's real Trash.
    qputenv("XDG_DATA_HOME", QFile::encodeName(rootPath + QStringLiteral("/data")));
    AppFolders::ensureFolder(AppFolders::homeFolder());
    UserDefaults::standard().setFilePath(AppFolders::settingsFilePath());
    // No test may reach a host outside this machine, whatever address a bug hands it.
    LoopbackGuard::install();
}

QString TestEnvironment::root()
{
    return tempRoot().path();
}
