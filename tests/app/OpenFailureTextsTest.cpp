// What the alert says when the desktop opened nothing: what failed and what to do, never "later".
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/LocalizedString.h"
#include "app/OpenFailureTexts.h"
#include "support/TestFiles.h"

TEST(OpenFailureTexts, SayWhatFailedAndWhatToDo)
{
    QTemporaryDir dir;
    ASSERT_TRUE(TestFiles::write(dir.filePath(QStringLiteral("beach.jpg"))));
    const QUrl help(QStringLiteral("https://help.example/en"));
    const std::tuple<OpenFailureText, QString, const char *> cases[] = {
        { OpenFailureTexts::forLocalUrl(QUrl::fromLocalFile(dir.filePath("beach.jpg"))), "beach.jpg",
            "ID_NO_APPLICATION_FOR_FILE_HINT" },
        { OpenFailureTexts::forLocalUrl(QUrl::fromLocalFile(dir.filePath("gone.jpg"))), "gone.jpg",
            "ID_FILE_NO_LONGER_THERE_HINT" },
        { OpenFailureTexts::forLocalUrl(QUrl::fromLocalFile(dir.path())), dir.path(),
            "ID_NO_FILE_MANAGER_HINT" },
    };
    for (const auto &[failure, named, hint] : cases) {
        EXPECT_TRUE(failure.message.contains(named)) << failure.message.toStdString();
        EXPECT_EQ(failure.informative, localizedString(QString::fromLatin1(hint)));
    }
    // No browser: the address is given to open by hand.
    EXPECT_TRUE(OpenFailureTexts::forHelpPage(help).informative.contains(help.toString()));
}
