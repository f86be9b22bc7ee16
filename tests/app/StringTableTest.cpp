// Every "ID_" key the code looks up has an English text, and the placeholders become formats.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include "app/LocalizedString.h"
#include "platform/AppFolders.h"
#include "platform/PropertyList.h"

namespace {

QVariantMap englishTable()
{
    const std::optional<QVariant> table
        = PropertyList::readFile(AppFolders::resourcePath(QStringLiteral("strings/QNY_en.plist")));
    return table ? table->toMap() : QVariantMap();
}

} // namespace

TEST(StringTable, HoldsATextForEveryKeyTheSourcesLookUp)
{
    const QVariantMap table = englishTable();
    ASSERT_GT(table.size(), 300);
    static const QRegularExpression kKey(QStringLiteral("\"(ID_[A-Z0-9_]+)\""));
    QSet<QString> missing;
    QDirIterator it(QStringLiteral(QNY_SOURCE_DIR "/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                    QDir::Files, QDirIterator::Subdirectories);
    int files = 0;
    while (it.hasNext()) {
        QFile file(it.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        ++files;
        const QString source = QString::fromUtf8(file.readAll());
        for (auto match = kKey.globalMatch(source); match.hasNext();) {
            const QString key = match.next().captured(1);
            if (table.value(key).typeId() != QMetaType::QString)
                missing.insert(key + QStringLiteral(" (") + QFileInfo(file.fileName()).fileName() + QLatin1Char(')'));
        }
    }
    EXPECT_GT(files, 10);
    QStringList list(missing.begin(), missing.end());
    list.sort();
    EXPECT_TRUE(list.isEmpty()) << "keys without an English text: " << list.join(QStringLiteral(", ")).toStdString();
}

TEST(StringTable, EveryTextIsNonEmptyAndUsesOnlyThePlaceholderWords)
{
    const QRegularExpression notSo(QStringLiteral(
        "(have been|has been|were|was) deleted|\\(s\\)|^(YES|NO)$|DropBox|(Control|Command)-click"));
    const QVariantMap table = englishTable();
    for (auto it = table.cbegin(); it != table.cend(); ++it) {
        const QString text = it.value().toString();
        EXPECT_FALSE(text.isEmpty()) << it.key().toStdString();
        // Texts never carry printf formats of their own; callers fill only the two words.
        EXPECT_FALSE(text.contains(QLatin1String("%@")) || text.contains(QLatin1String("%d")))
            << it.key().toStdString();
        // Nor "deleted" of files moved to the Trash, "(s)", capital buttons, "DropBox" or clicks with
        // another system's modifier.
        EXPECT_FALSE(notSo.match(text).hasMatch()) << it.key().toStdString();
    }
}

class LocalizationTest : public testing::Test
{
protected:
    void SetUp() override
    {
        writeTable(QStringLiteral("en"), {{"ID_A", "English"},
                                          {"ID_FORMAT", "DONOT_TRANSLATE_INTEGER_VALUE of DONOT_TRANSLATE_STRING_VALUE"},
                                          {"ID_TWICE", "DONOT_TRANSLATE_STRING_VALUE and DONOT_TRANSLATE_STRING_VALUE"},
                                          {"ID_NUMBER", qlonglong(4)}});
        writeTable(QStringLiteral("pt"), {{"ID_A", "Português"}});
        Localization::setTableFolderOverride(m_dir.path());
        Localization::reset();
    }
    void TearDown() override
    {
        Localization::setTableFolderOverride(QString());
        Localization::setPreferredLanguagesOverride({QStringLiteral("en")});
        Localization::reset();
    }
    void writeTable(const QString &code, const QVariantMap &table)
    {
        ASSERT_TRUE(PropertyList::writeFile(m_dir.filePath(QStringLiteral("QNY_") + code + QStringLiteral(".plist")),
                                            table));
    }
    QTemporaryDir m_dir;
};

struct LanguageCase
{
    const char *preferred;
    const char *code;
    bool english;
    const char *text;
};

class LanguageChoice : public LocalizationTest, public testing::WithParamInterface<LanguageCase>
{
};

TEST_P(LanguageChoice, TakesTheFirstPreferredLanguageWithATableElseEnglish)
{
    const LanguageCase &c = GetParam();
    Localization::setPreferredLanguagesOverride({QString::fromLatin1(c.preferred), QStringLiteral("pt")});
    EXPECT_EQ(localizedString(QStringLiteral("ID_A")), QString::fromUtf8(c.text));
    EXPECT_EQ(Localization::currentLanguageCode(), QString::fromLatin1(c.code));
    EXPECT_EQ(Localization::isEnglishLanguage(), c.english);
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageChoice,
                         testing::Values(LanguageCase{"en-GB", "en", true, "English"},
                                         LanguageCase{"pt-BR", "pt", false, "Português"},
                                         LanguageCase{"pt", "pt", false, "Português"},
                                         // Only the first preferred language counts; without its
                                         // table the run falls back to English.
                                         LanguageCase{"fr-CA", "en", true, "English"},
                                         LanguageCase{"zh-Hans-CN", "en", true, "English"}));

TEST_F(LocalizationTest, AnUnreadableTableGivesWayToEnglish)
{
    QFile broken(m_dir.filePath(QStringLiteral("QNY_de.plist")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a property list");
    broken.close();
    Localization::setPreferredLanguagesOverride({QStringLiteral("de-DE")});
    EXPECT_EQ(localizedString(QStringLiteral("ID_A")), QStringLiteral("English"));
    EXPECT_TRUE(Localization::isEnglishLanguage());
    EXPECT_EQ(Localization::currentLanguageCode(), QStringLiteral("en"));
}

TEST_F(LocalizationTest, TurnsPlaceholderWordsIntoFormatsAndMissingTextsIntoEmpty)
{
    Localization::setPreferredLanguagesOverride({QStringLiteral("en-US")});
    EXPECT_EQ(localizedString(QStringLiteral("ID_FORMAT")), QStringLiteral("%d of %@"));
    EXPECT_EQ(localizedString(QStringLiteral("ID_TWICE")), QStringLiteral("%@ and %@"));
    EXPECT_EQ(localizedString(QStringLiteral("ID_NUMBER")), QString());
    EXPECT_EQ(localizedString(QStringLiteral("ID_ABSENT")), QString());
    EXPECT_EQ(Localization::tableLoadCount(), 1) << "the table is read once per run";
}
