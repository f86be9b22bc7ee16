// The single-instance socket: a name held by anything but a running instance of ours receives
// nothing and never stops a start.
#include <gtest/gtest.h>

#include <QLocalServer>
#include <QTemporaryDir>

#include "app/SingleInstance.h"
#include "support/TestEvents.h"

TEST(SingleInstance, ANameHeldByAListenerThatIsNotAnInstanceReceivesNothing)
{
    QTemporaryDir folder;
    const QString name = folder.filePath(QStringLiteral("quennary-test"));
    QLocalServer other;
    ASSERT_TRUE(other.listen(name));

    SingleInstance launch(name);
    EXPECT_FALSE(launch.sendToRunningInstance(QStringLiteral("com.quennary.app:/oauth?code=42&state=s")));
    QStringList received;
    QObject::connect(&launch, &SingleInstance::messageReceived, [&](const QString &m) { received << m; });
    ASSERT_TRUE(launch.listen());
    EXPECT_FALSE(SingleInstance(name).listen());

    EXPECT_TRUE(SingleInstance(name).sendToRunningInstance(QStringLiteral("second")));
    ASSERT_TRUE(TestEvents::waitFor([&] { return !received.isEmpty(); }, 5000));
    EXPECT_EQ(received, QStringList { QStringLiteral("second") });
    EXPECT_FALSE(other.hasPendingConnections());
}
