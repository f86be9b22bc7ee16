// How Check for Updates tells a copy installed by the package manager from one that was not.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/LocalizedString.h"
#include "app/UpdaterController.h"
#include "support/TestFiles.h"

TEST(UpdaterControllerTest, OnlyACopyThatItsPackageListsIsSaidToComeFromThePackage)
{
    const QString package = QStringLiteral("quennary");
    struct Row {
        const char *name;
        QString listName; // empty: no list at all
        bool listsProgram;
        bool throughLink;
        bool fromPackage;
    };
    const Row rows[] = {
        { "the package lists the program", package + ".list", true, false, true },
        { "a package of one architecture", package + ":amd64.list", true, false, true },
        { "reached through a link to the listed file", package + ".list", true, true, true },
        { "another package lists it", QStringLiteral("other.list"), true, false, false },
        { "the package lists other files", package + ".list", false, false, false },
        { "built from source, no package", QString(), false, false, false },
    };
    for (const Row &row : rows) {
        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("usr/bin/quennary"));
        ASSERT_TRUE(TestFiles::write(program));
        QString started = program;
        if (row.throughLink) {
            started = dir.filePath(QStringLiteral("bin-quennary"));
            ASSERT_TRUE(QFile::link(program, started));
        }
        const QString lists = dir.filePath(QStringLiteral("info"));
        if (!row.listName.isEmpty()) {
            const QByteArray listed
                = row.listsProgram ? program.toUtf8() : QByteArrayLiteral("/usr/bin/else");
            ASSERT_TRUE(TestFiles::write(lists + '/' + row.listName, "/.\n/usr\n" + listed + "\n"));
        }
        EXPECT_EQ(UpdaterController::installedByPackage(started, lists), row.fromPackage) << row.name;
        const QString note = UpdaterController::packageUpdateNote(started, lists);
        EXPECT_EQ(note.contains(QLatin1Char('"') + package + QLatin1Char('"')), row.fromPackage) << row.name;
        EXPECT_FALSE(note.contains(QStringLiteral("apt"))) << row.name;
    }
}
