// The rule list and the file-type list as the panes edit them: what each change stores.
#include <gtest/gtest.h>

#include "app/SettingsDefaults.h"
#include "platform/UserDefaults.h"
#include "preferences/AutoMarkRuleList.h"
#include "preferences/FileTypeList.h"

namespace
{

class ListsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UserDefaults::standard().resetAll();
        SettingsDefaults::registerDefaultSettings();
    }
    static QStringList storedRuleKeys()
    {
        QStringList keys;
        for (const QVariant &rule : UserDefaults::standard().arrayForKey("autoMarkRules"))
            keys.append(rule.toMap().value("key").toString());
        return keys;
    }
    static QVariantMap type(const char *name, const QVariant &state)
    {
        return { { "key", QString::fromLatin1(name) }, { "state", state } };
    }

    UserDefaults &defaults = UserDefaults::standard();
};

TEST_F(ListsTest, SwitchingARuleOffStoresTheIntegerZeroAndLeavesTheRest)
{
    AutoMarkRuleList rules(defaults);
    rules.load();
    const QVariantList before = rules.rules();
    rules.setState(1, false);
    const QVariantList stored = defaults.arrayForKey("autoMarkRules");
    ASSERT_EQ(stored.size(), before.size());
    const QVariant state = stored.at(1).toMap().value("state");
    EXPECT_EQ(state.typeId(), QMetaType::LongLong);
    EXPECT_EQ(state.toLongLong(), 0);
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (i != 1) {
            EXPECT_EQ(stored.at(i), before.at(i)) << i;
        }
    }
    rules.setState(1, true);
    EXPECT_EQ(defaults.arrayForKey("autoMarkRules").at(1).toMap().value("state"), QVariant(qlonglong(1)));
}

TEST_F(ListsTest, OnlyTheSecondChoiceStoresFalse)
{
    AutoMarkRuleList rules(defaults);
    rules.load();
    const int date = static_cast<int>(storedRuleKeys().indexOf("date"));
    for (const auto &[index, expected] :
        { std::pair { 1, false }, { 0, true }, { 1, false }, { -1, true } }) {
        rules.setMarkWithEarlier(date, index);
        EXPECT_EQ(defaults.arrayForKey("autoMarkRules").at(date).toMap().value("isMarkWithEarlier"),
            QVariant(expected))
            << index;
    }
}

struct MoveCase {
    QList<int> rows;
    int target;
    QStringList order;
};

class RuleMoves : public ListsTest, public ::testing::WithParamInterface<MoveCase>
{
};

TEST_P(RuleMoves, DraggedRowsLandAboveTheTargetInDraggingOrder)
{
    // Built-in order: preferFormat library dimension dpi size metadata date modDate.
    AutoMarkRuleList rules(defaults);
    rules.load();
    rules.moveRows(GetParam().rows, GetParam().target);
    EXPECT_EQ(storedRuleKeys(), GetParam().order);
}

INSTANTIATE_TEST_SUITE_P(Drops, RuleMoves,
    ::testing::Values(
        MoveCase { { 0 }, 3,
            { "library", "dimension", "preferFormat", "dpi", "size", "metadata", "date", "modDate" } },
        MoveCase { { 4 }, 1,
            { "preferFormat", "size", "library", "dimension", "dpi", "metadata", "date", "modDate" } },
        MoveCase { { 0, 1 }, 4,
            { "dimension", "dpi", "preferFormat", "library", "size", "metadata", "date", "modDate" } },
        MoveCase { { 6, 7 }, 1,
            { "preferFormat", "date", "modDate", "library", "dimension", "dpi", "size", "metadata" } },
        // Rows from both sides: each lands just above the target, those from above last.
        MoveCase { { 5, 1 }, 3,
            { "preferFormat", "dimension", "library", "metadata", "dpi", "size", "date", "modDate" } },
        MoveCase { { 0 }, 8,
            { "library", "dimension", "dpi", "size", "metadata", "date", "modDate", "preferFormat" } },
        MoveCase { { 9, -1 }, 2,
            { "preferFormat", "library", "dimension", "dpi", "size", "metadata", "date", "modDate" } }));

TEST_F(ListsTest, EnglishTextsBecomeKeysOnlyWhenNameAndDescriptionBothMatch)
{
    const QVariantMap english { { "ID_A_NAME", "Image Size" }, { "ID_A_TEXT", "Mark the smaller copies" },
        { "ID_NUMBER", 7 } };
    const QVariantMap both { { "name", "IMAGE size" }, { "description", "mark THE smaller copies" },
        { "state", 1 } };
    const QVariantMap nameOnly { { "name", "image size" }, { "description", "Markiere die kleineren" } };
    const QVariantMap notText { { "name", 7 }, { "description", "Mark the smaller copies" } };
    const QVariantList converted = AutoMarkRuleList::localizeAutoMarkRules(
        { both, nameOnly, notText, QStringLiteral("stray") }, english);
    ASSERT_EQ(converted.size(), 4);
    const QVariantMap first = converted.at(0).toMap();
    EXPECT_EQ(first.value("name"), QVariant("ID_A_NAME"));
    EXPECT_EQ(first.value("description"), QVariant("ID_A_TEXT"));
    EXPECT_EQ(first.value("state"), QVariant(1));
    EXPECT_EQ(converted.at(1), QVariant(nameOnly));
    EXPECT_EQ(converted.at(2), QVariant(notText));
    EXPECT_EQ(converted.at(3), QVariant("stray"));
}

TEST_F(ListsTest, TheLastTickedTypeCannotBeUnticked)
{
    defaults.setObject("allowedExtensions", QVariantList { type("JPEG", true), type("PNG", qlonglong(0)) });
    defaults.setObject("allowedVideoExtensions", QVariantList { type("MP4", false) });
    FileTypeList types(defaults);
    types.load();
    EXPECT_EQ(types.countAllowedExtension(), 1);
    EXPECT_EQ(types.toggle(0, false), FileTypeList::Toggle::Refused);
    EXPECT_EQ(defaults.arrayForKey("allowedExtensions").at(0).toMap().value("state"), QVariant(true));
    EXPECT_EQ(types.countAllowedExtension(), 1);
}

TEST_F(ListsTest, OneVideoTypeLetsEveryImageTypeGoThenStaysItself)
{
    const QVariantList images { type("JPEG", qlonglong(1)), type("PNG", qlonglong(2)) };
    defaults.setObject("allowedExtensions", images);
    defaults.setObject("allowedVideoExtensions", QVariantList { type("MP4", true), type("MOV", false) });
    FileTypeList types(defaults);
    types.load();
    EXPECT_EQ(types.countAllowedExtension(), 2); // "state" 2 is not ticked

    EXPECT_EQ(types.toggle(0, false), FileTypeList::Toggle::Stored);
    EXPECT_EQ(defaults.arrayForKey("allowedExtensions").at(0).toMap().value("state"), QVariant(qlonglong(0)));
    EXPECT_EQ(types.toggle(2, false), FileTypeList::Toggle::Refused);

    // Ticking a video type rewrites the image list as it is.
    EXPECT_EQ(types.toggle(3, true), FileTypeList::Toggle::Stored);
    EXPECT_EQ(types.toggle(2, false), FileTypeList::Toggle::Stored);
    const QVariantList videos = defaults.arrayForKey("allowedVideoExtensions");
    EXPECT_EQ(videos.at(0).toMap().value("state"), QVariant(qlonglong(0)));
    EXPECT_EQ(videos.at(1).toMap().value("state"), QVariant(qlonglong(1)));
    EXPECT_EQ(defaults.arrayForKey("allowedExtensions").at(1), images.at(1));
    EXPECT_EQ(defaults.arrayForKey("allowedExtensions").size(), 2);
}

TEST_F(ListsTest, ListsChangedByAnotherWriterAreReloadedNotShifted)
{
    FileTypeList types(defaults, [](const QVariantMap &) { return true; });
    types.load();
    const int images = static_cast<int>(defaults.arrayForKey("allowedExtensions").size());
    QVariantList shorter = defaults.arrayForKey("allowedExtensions");
    shorter.removeLast();
    defaults.setObject("allowedExtensions", shorter);
    const QVariantList videos = defaults.arrayForKey("allowedVideoExtensions");

    EXPECT_EQ(types.toggle(images, false), FileTypeList::Toggle::Reloaded);
    EXPECT_EQ(defaults.arrayForKey("allowedExtensions"), shorter);
    EXPECT_EQ(defaults.arrayForKey("allowedVideoExtensions"), videos);
    EXPECT_EQ(types.count(), shorter.size() + videos.size());
}

// Types nothing here decodes are not offered; they stay in the stored list exactly as they were.
TEST_F(ListsTest, OnlyDecodableImageTypesAreOfferedAndTheOthersStayAsStored)
{
    QVariantList images;
    for (const char *extension : { "pntg", "jpg", "png" })
        images.append(QVariantMap { { "key", extension }, { "state", true }, { "extns", QVariantList { extension } } });
    defaults.setObject("allowedExtensions", images);
    FileTypeList types(defaults);
    types.load();
    EXPECT_EQ(types.type(0).value("key"), QVariant("jpg"));
    EXPECT_EQ(types.count(), 2 + defaults.arrayForKey("allowedVideoExtensions").size());
    EXPECT_EQ(types.toggle(0, false), FileTypeList::Toggle::Stored);
    EXPECT_EQ(defaults.arrayForKey("allowedExtensions").at(0), images.at(0));
}

} // namespace
