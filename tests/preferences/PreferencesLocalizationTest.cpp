// Pane identifiers and the preferences window's own table of the word "Preferences".
#include <gtest/gtest.h>

#include <unordered_set>

#include <QSet>

#include "preferences/PaneIdentifier.h"
#include "preferences/PreferencesLocalization.h"

using Preferences::PaneIdentifier;
using Id = PreferencesLocalization::Identifier;

TEST(PaneIdentifier, EqualAndHashedByItsCaseSensitiveRawValue)
{
    const PaneIdentifier a(QStringLiteral("automark"));
    const PaneIdentifier b(QStringLiteral("auto") + QStringLiteral("mark"));
    const PaneIdentifier upper(QStringLiteral("AutoMark"));
    EXPECT_EQ(a, b);
    EXPECT_EQ(qHash(a), qHash(b));
    EXPECT_EQ(std::hash<PaneIdentifier>()(a), std::hash<PaneIdentifier>()(b));
    EXPECT_NE(a, upper);

    const QSet<PaneIdentifier> qtSet { a, b, upper };
    const std::unordered_set<PaneIdentifier> stdSet { a, b, upper };
    EXPECT_EQ(qtSet.size(), 2);
    EXPECT_EQ(stdSet.size(), 2u);
}

struct TitleCase {
    const char *name;
    QStringList preferredLanguages;
    const char *expectedRow;
};

class PreferencesTitle : public ::testing::TestWithParam<TitleCase>
{
};

TEST_P(PreferencesTitle, ChoosesTheRowOfTheFirstLanguage)
{
    const TitleCase &c = GetParam();
    const QString expected
        = PreferencesLocalization::table(Id::preferences).value(QString::fromLatin1(c.expectedRow));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(PreferencesLocalization::localized(Id::preferences, c.preferredLanguages), expected);
}

INSTANTIATE_TEST_SUITE_P(Languages, PreferencesTitle,
    ::testing::Values(TitleCase { "GermanBeforeEnglish", { "de-DE", "en-US" }, "de" },
        TitleCase { "TraditionalTaiwan", { "zh-Hant-TW" }, "zh-TW" },
        TitleCase { "HongKong", { "zh_HK" }, "zh-HK" },
        TitleCase { "SimplifiedChina", { "zh-Hans-CN" }, "zh-CN" },
        // A script is no region: traditional Chinese without a region falls to the mainland row.
        TitleCase { "TraditionalWithoutRegion", { "zh-Hant" }, "zh-CN" },
        // Only the bare language is looked up, so the regional rows are never chosen.
        TitleCase { "PortugalGetsPortuguese", { "pt-PT" }, "pt" },
        TitleCase { "BritainGetsEnglish", { "en-GB" }, "en" },
        TitleCase { "BokmalHasNoRow", { "nb-NO" }, "en" }, TitleCase { "EstonianHasNoRow", { "et" }, "en" },
        TitleCase { "SkipsEntriesWithoutALanguage", { "", "419", "fr_CA.UTF-8" }, "fr" }),
    [](const ::testing::TestParamInfo<TitleCase> &info) { return std::string(info.param.name); });

TEST(PreferencesTitleTable, HasEveryLanguageAndItsOwnEllipses)
{
    const auto &words = PreferencesLocalization::table(Id::preferences);
    const auto &ellipsized = PreferencesLocalization::table(Id::preferencesEllipsized);
    EXPECT_EQ(words.size(), 39);
    ASSERT_EQ(QSet<QString>(words.keyBegin(), words.keyEnd()),
        QSet<QString>(ellipsized.keyBegin(), ellipsized.keyEnd()));
    EXPECT_EQ(words.value("de"), QStringLiteral("Einstellungen"));
    EXPECT_EQ(ellipsized.value("ko"), words.value("ko") + QStringLiteral("..."));
    EXPECT_EQ(ellipsized.value("zh-HK"), QStringLiteral("偏好設定") + QChar(0x22EF));
    EXPECT_EQ(ellipsized.value("zh-TW"), QStringLiteral("偏好設定") + QChar(0x22EF));
    for (auto it = words.cbegin(); it != words.cend(); ++it) {
        if (it.key() != "ko" && it.key() != "zh-HK" && it.key() != "zh-TW") {
            EXPECT_EQ(ellipsized.value(it.key()), it.value() + QChar(0x2026)) << it.key().toStdString();
        }
    }
    EXPECT_EQ(PreferencesLocalization::localized(Id::preferencesEllipsized, { "en" }),
        QStringLiteral("Preferences…"));
}
