// Start-up names the program's folders, and the home Trash, that nothing is written in because they
// are not this user's alone.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/AppStartup.h"
#include "platform/AppFolders.h"

TEST(RefusedFolders, EachRefusedFolderIsNamedInTheStartUpNote)
{
    using Use = OwnFoldersCheck::Use;
    // Folders made writable by all, and what is refused.
    const std::pair<QStringList, std::vector<Use>> rows[] = { { {}, {} }, { { "config" }, { Use::Settings } },
        { { "state/Quennary", "data/Trash" }, { Use::Log, Use::Trash } } };
    const QString root = AppFolders::rootOverride();
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    for (const auto &[spoiled, expected] : rows) {
        QTemporaryDir dir;
        AppFolders::setRootOverride(dir.path());
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path() + QStringLiteral("/data")));
        for (const QString &folder : spoiled) {
            const QString path = dir.path() + QLatin1Char('/') + folder;
            ASSERT_TRUE(QDir().mkpath(path) && ::chmod(QFile::encodeName(path).constData(), 0777) == 0);
        }
        const std::vector<OwnFoldersCheck::Refusal> refused = OwnFoldersCheck::refusals();
        const std::optional<RefusedFoldersNote> note = AppStartup::refusedFoldersNote(refused);
        ASSERT_EQ(note.has_value(), !expected.empty());
        std::vector<Use> uses;
        for (const OwnFoldersCheck::Refusal &refusal : refused) {
            uses.push_back(refusal.use);
            EXPECT_TRUE(note->details.contains(refusal.path)) << note->details.toStdString();
        }
        EXPECT_EQ(uses, expected) << spoiled.join(' ').toStdString();
    }
    AppFolders::setRootOverride(root);
    qputenv("XDG_DATA_HOME", dataHome);
}
