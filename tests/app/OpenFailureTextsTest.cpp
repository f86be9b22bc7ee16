// What the alert says when the desktop opened nothing: never "try again later", always what failed.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "app/LocalizedString.h"
#include "app/OpenFailureTexts.h"
#include "support/TestFiles.h"

namespace
{

struct FailureCase {
    const char *name;
    const char *what; // "file", "missing", "folder" or "help"
    const char *messageHas;
    const char *informativeKey;
};

class OpenFailureTextsTest : public ::testing::TestWithParam<FailureCase>
{
};

TEST_P(OpenFailureTextsTest, SaysWhatFailedAndWhatToDo)
{
    const FailureCase &c = GetParam();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("beach.jpg"));
    ASSERT_TRUE(TestFiles::write(file));
    const QString what = QString::fromLatin1(c.what);
    const QUrl help(QStringLiteral("https://help.example/en"));
    const OpenFailureText text = what == "help" ? OpenFailureTexts::forHelpPage(help)
        : what == "folder"  ? OpenFailureTexts::forLocalUrl(QUrl::fromLocalFile(dir.path()))
        : what == "missing" ? OpenFailureTexts::forLocalUrl(QUrl::fromLocalFile(dir.filePath("gone.jpg")))
                            : OpenFailureTexts::forLocalUrl(QUrl::fromLocalFile(file));
    const QString expected = QString::fromLatin1(c.messageHas).replace(QStringLiteral("DIR"), dir.path());
    EXPECT_TRUE(text.message.contains(expected)) << text.message.toStdString();
    if (what == "help")
        EXPECT_TRUE(text.informative.contains(help.toString())) << text.informative.toStdString();
    else
        EXPECT_EQ(text.informative, localizedString(QString::fromLatin1(c.informativeKey)));
    EXPECT_FALSE(text.informative.contains(QStringLiteral("later"), Qt::CaseInsensitive));
}

INSTANTIATE_TEST_SUITE_P(Routes, OpenFailureTextsTest,
    ::testing::Values(
        FailureCase { "fileWithNoApplication", "file", "beach.jpg", "ID_NO_APPLICATION_FOR_FILE_HINT" },
        FailureCase { "fileGoneSinceTheScan", "missing", "gone.jpg", "ID_FILE_NO_LONGER_THERE_HINT" },
        FailureCase { "folderWithNoFileManager", "folder", "DIR", "ID_NO_FILE_MANAGER_HINT" },
        FailureCase { "helpPageWithNoBrowser", "help", "", "" }),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
