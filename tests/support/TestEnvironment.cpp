#include "support/TestEnvironment.h"

#include <QDir>
#include <QTemporaryDir>

#include "platform/AppFolders.h"
#include "platform/UserDefaults.h"

namespace {

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
    AppFolders::ensureFolder(AppFolders::homeFolder());
    UserDefaults::standard().setFilePath(AppFolders::settingsFilePath());
}

QString TestEnvironment::root()
{
    return tempRoot().path();
}
