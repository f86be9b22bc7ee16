// The Uninstall command with scripted answers: only the confirm button removes anything, and then
// exactly the user's Quennary files go, the page opens and the application ends.
#include <algorithm>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/LocalizedString.h"
#include "app/Uninstaller.h"
#include "app/ui/UninstallFlow.h"
#include "platform/AppFolders.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"
#include "platform/ui/ScriptedAlertPresenter.h"
#include "support/TestFiles.h"

namespace {

// Any privileged command here would be a fault: the user's own files need no administrator.
class ForbiddenRunner : public PrivilegedRunner
{
public:
    Result run(const QString &program, const QStringList &) override
    {
        ADD_FAILURE() << "privileged command " << qPrintable(program);
        return {Outcome::Refused, 126};
    }
};

class UninstallFlowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previousRoot = AppFolders::rootOverride();
        AppFolders::setRootOverride(m_root.path());
        for (const QString &path : Uninstaller::userPaths())
            ASSERT_TRUE(TestFiles::write(path + QStringLiteral("/file")));
        ASSERT_TRUE(TestFiles::write(AppFolders::homeFolder() + QStringLiteral("/Pictures/photo.jpg")));
        for (const char *sub : {"data", "config", "cache", "state"})
            ASSERT_TRUE(
                TestFiles::write(m_root.path() + QLatin1Char('/') + QLatin1String(sub) + QStringLiteral("/other")));
    }
    void TearDown() override
    {
        AppFolders::setRootOverride(m_previousRoot);
        UserDefaults::standard().setFilePath(AppFolders::settingsFilePath()); // writes again
    }

    std::unique_ptr<UninstallFlow> makeFlow(const QString &address)
    {
        auto flow
            = std::make_unique<UninstallFlow>([this]() { events.push_back(QStringLiteral("terminate")); },
                std::make_unique<Uninstaller>(std::make_shared<ForbiddenRunner>()));
        flow->setAfterUninstallAddress([address]() { return address; });
        flow->setUrlOpener([this](const QUrl &url) { events.push_back(url.toString()); });
        return flow;
    }

    bool anyUserPathLeft() const
    {
        const QStringList paths = Uninstaller::userPaths();
        return std::any_of(paths.begin(), paths.end(), [](const QString &p) { return QFileInfo::exists(p); });
    }

    bool othersKept() const
    {
        for (const char *sub : {"data", "config", "cache", "state"}) {
            if (!QFileInfo::exists(
                    m_root.path() + QLatin1Char('/') + QLatin1String(sub) + QStringLiteral("/other")))
                return false;
        }
        return QFileInfo::exists(AppFolders::homeFolder() + QStringLiteral("/Pictures/photo.jpg"));
    }

    ScriptedAlertPresenter presenter;
    std::vector<QString> events;

private:
    QTemporaryDir m_root;
    QString m_previousRoot;
};

class UninstallFlowDeclinedTest : public UninstallFlowTest, public ::testing::WithParamInterface<int>
{
};

} // namespace

TEST_P(UninstallFlowDeclinedTest, AnyAnswerButConfirmChangesNothing)
{
    presenter.queueAnswer(GetParam());
    makeFlow(QStringLiteral("https://example.org/after-uninstall"))->run(nullptr);
    ASSERT_EQ(presenter.alerts().size(), 1u);
    EXPECT_TRUE(events.empty());
    const QStringList paths = Uninstaller::userPaths();
    for (const QString &path : paths)
        EXPECT_TRUE(QFileInfo::exists(path + QStringLiteral("/file"))) << qPrintable(path);
}

INSTANTIATE_TEST_SUITE_P(Answers, UninstallFlowDeclinedTest,
    ::testing::Values(AlertPresenter::kFirstButton, AlertPresenter::kModalResponseStop,
        AlertPresenter::kFirstButton + 2, 0));

TEST_F(UninstallFlowTest, ConfirmRemovesTheUserFilesTellsAboutThePackageOpensThePageAndEnds)
{
    presenter.queueAnswer(AlertPresenter::kFirstButton + 1);
    makeFlow(QStringLiteral("https://example.org/after-uninstall"))->run(nullptr);

    ASSERT_EQ(presenter.alerts().size(), 2u);
    const AlertSpec &question = presenter.alerts()[0];
    const QString name = QStringLiteral("Quennary");
    EXPECT_EQ(question.messageText, formatText(localizedString(QStringLiteral("ID_ASK_UNINSTALL")), name));
    EXPECT_EQ(question.informativeText, Uninstaller::confirmationText());
    EXPECT_TRUE(question.informativeText.startsWith(
        formatText(localizedString(QStringLiteral("ID_UNINSTALL_ACTION")), name)));
    // The buttons are written as the desktop writes them: "No" and "Yes", not "NO" and "YES".
    EXPECT_EQ(question.buttons, QStringList({ QStringLiteral("No"), QStringLiteral("Yes") }));
    EXPECT_FALSE(question.messageText.isEmpty());
    const AlertSpec &note = presenter.alerts()[1];
    EXPECT_EQ(note.messageText, Uninstaller::packageRemovalNote());
    EXPECT_TRUE(note.messageText.contains(name));

    EXPECT_FALSE(anyUserPathLeft());
    EXPECT_TRUE(othersKept());
    EXPECT_EQ(events,
        (std::vector<QString> {
            QStringLiteral("https://example.org/after-uninstall"), QStringLiteral("terminate")}));
}

TEST_F(UninstallFlowTest, WithoutAUsableAddressNoPageOpensButTheFlowEnds)
{
    for (const QString &address : {QString(), QStringLiteral("after-uninstall/")}) {
        events.clear();
        presenter.queueAnswer(AlertPresenter::kFirstButton + 1);
        makeFlow(address)->run(nullptr);
        EXPECT_EQ(events, std::vector<QString> {QStringLiteral("terminate")});
    }
    EXPECT_FALSE(anyUserPathLeft());
    EXPECT_TRUE(othersKept());
}
