// Start-up tells the user which of the program's folders, and the home Trash, nothing is written in
// because they are not this user's alone.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/AppStartup.h"
#include "platform/AppFolders.h"
#include "platform/OwnFoldersCheck.h"
#include "platform/Trash.h"

namespace
{

using Use = OwnFoldersCheck::Use;

struct RefusedCase {
    const char *name;
    // Spoils folders below the test's root; the home Trash is already made.
    std::function<void(const QString &root)> spoil;
    std::vector<Use> refused;
};

void setMode(const QString &path, mode_t mode)
{
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0) << path.toStdString();
}

void linkFiles(const QString &root)
{
    const QString files = Trash::homeTrashFolder() + QStringLiteral("/files");
    ASSERT_TRUE(QDir(files).removeRecursively());
    ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/elsewhere")));
    ASSERT_TRUE(QFile::link(root + QStringLiteral("/elsewhere"), files));
}

class RefusedFolders : public testing::TestWithParam<RefusedCase>
{
protected:
    void SetUp() override
    {
        m_root = AppFolders::rootOverride();
        m_dataHome = qgetenv("XDG_DATA_HOME");
        AppFolders::setRootOverride(m_dir.path());
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.path() + QStringLiteral("/data")));
        ASSERT_TRUE(OwnFoldersCheck::refusals().empty());
        QDir().mkpath(Trash::homeTrashFolder() + QStringLiteral("/files"));
        QDir().mkpath(Trash::homeTrashFolder() + QStringLiteral("/info"));
    }

    void TearDown() override
    {
        AppFolders::setRootOverride(m_root);
        qputenv("XDG_DATA_HOME", m_dataHome);
    }

    QTemporaryDir m_dir;
    QString m_root;
    QByteArray m_dataHome;
};

} // namespace

TEST_P(RefusedFolders, EachRefusedFolderIsNamedWithWhatIsNotSaved)
{
    GetParam().spoil(m_dir.path());
    const std::vector<OwnFoldersCheck::Refusal> refused = OwnFoldersCheck::refusals();
    std::vector<Use> uses;
    for (const OwnFoldersCheck::Refusal &refusal : refused)
        uses.push_back(refusal.use);
    EXPECT_EQ(uses, GetParam().refused);

    const std::optional<RefusedFoldersNote> note = AppStartup::refusedFoldersNote(refused);
    ASSERT_EQ(note.has_value(), !refused.empty());
    for (const OwnFoldersCheck::Refusal &refusal : refused)
        EXPECT_TRUE(note->details.contains(refusal.path)) << note->details.toStdString();
}

INSTANTIATE_TEST_SUITE_P(OwnFolders, RefusedFolders,
    testing::Values(RefusedCase { "AllOurs", [](const QString &) {}, {} },
        RefusedCase { "ConfigHomeWritableByAll",
            [](const QString &root) { setMode(root + QStringLiteral("/config"), 0777); }, { Use::Settings } },
        RefusedCase { "CacheFolderWritableByGroup",
            [](const QString &root) { setMode(root + QStringLiteral("/cache/Quennary"), 0770); },
            { Use::Caches } },
        RefusedCase { "TrashFilesALinkElsewhere", linkFiles, { Use::Trash } },
        RefusedCase { "LogAndTrashWritableByAll",
            [](const QString &root) {
                setMode(root + QStringLiteral("/state/Quennary"), 0777);
                setMode(Trash::homeTrashFolder(), 0777);
            },
            { Use::Log, Use::Trash } }),
    [](const testing::TestParamInfo<RefusedCase> &info) { return std::string(info.param.name); });
