// The auto-mark rules on one group at a time, as a table of groups and rule lists with the files
// that end marked; and a randomised check of what every run must leave behind.
#include <gtest/gtest.h>

#include <random>

#include "app/SettingsDefaults.h"
#include "removal/AutoMarkRun.h"
#include "removal/AutoMarkTestRecords.h"

namespace
{

using namespace AutoMarkTestRecords;

struct EngineCase {
    const char *name;
    QVariantList rules;
    std::vector<Member> members;
    QStringList marked;
};

QVariantList builtInRules()
{
    return SettingsDefaults::defaultAutoMarkRules();
}

QVariantList allRulesOff()
{
    QVariantList rules = builtInRules();
    for (QVariant &r : rules) {
        QVariantMap map = r.toMap();
        map.insert(QStringLiteral("state"), false);
        r = map;
    }
    return rules;
}

QStringList markedNames(const DuplicatesGroup &group)
{
    QStringList names;
    for (const auto &r : group.children) {
        if (r->isMark)
            names.append(r->fileName);
    }
    return names;
}

std::pair<int, std::uint64_t> recount(const ResultState &state)
{
    int count = 0;
    std::uint64_t size = 0;
    for (const auto &g : state.arrGroups) {
        for (const auto &r : g->filterChildren) {
            if (r->isMark) {
                ++count;
                size += r->fileSize;
            }
        }
    }
    return { count, size };
}

class AutoMarkEngineTable : public ::testing::TestWithParam<EngineCase>
{
};

TEST_P(AutoMarkEngineTable, MarksExactlyTheseFilesAndCountsThem)
{
    const EngineCase &c = GetParam();
    ResultState state;
    state.arrGroups = { makeGroup(c.members) };
    // Counters left from earlier work must not leak into the run.
    state.countMarked = 7;
    state.sizeMarked = 700;
    AutoMarkRun run(state, [&] { return c.rules; });
    run.runToCompletion();
    EXPECT_EQ(markedNames(*state.arrGroups.front()), c.marked);
    const auto [count, size] = recount(state);
    EXPECT_EQ(state.countMarked, count);
    EXPECT_EQ(state.sizeMarked, size);
    EXPECT_EQ(state.countiPhotoMarked, 0);
}

const QVariantList kSizeOnly { rule("size") };

INSTANTIATE_TEST_SUITE_P(Rules, AutoMarkEngineTable,
    ::testing::Values(
        EngineCase { "SizeOnlyKeepsTiesThenFinalPassKeepsTheFirst", kSizeOnly,
            { m("a.jpg").bytes(3), m("b.jpg").bytes(5), m("c.jpg").bytes(5) }, { "a.jpg", "c.jpg" } },
        EngineCase { "IntegerStateCountsAsOn", { rule("size", 1) },
            { m("a.jpg").bytes(3), m("b.jpg").bytes(5), m("c.jpg").bytes(5) }, { "a.jpg", "c.jpg" } },
        EngineCase { "RealStateCountsAsOn", { rule("size", 1.0) },
            { m("a.jpg").bytes(3), m("b.jpg").bytes(5), m("c.jpg").bytes(5) }, { "a.jpg", "c.jpg" } },
        EngineCase { "NoRuleEnabledKeepsTheFirstUnlocked", allRulesOff(),
            { m("a.jpg").lock(), m("b.jpg").bytes(1), m("c.jpg").bytes(9), m("d.jpg") },
            { "c.jpg", "d.jpg" } },
        EngineCase { "OneUnlockedWithTwoLockedMarksNothing", builtInRules(),
            { m("a.jpg").lock().premarked(), m("b.jpg"), m("c.jpg").lock() }, {} },
        EngineCase { "DateMarkEarlierKeepsTheLatest", { choiceRule("date", true) },
            { m("a.jpg").taken(2019), m("b.jpg").taken(2021), m("c.jpg").taken(2020) },
            { "a.jpg", "c.jpg" } },
        EngineCase { "DateMarkLaterKeepsTheEarliest", { choiceRule("date", false) },
            { m("a.jpg").taken(2019), m("b.jpg").taken(2021), m("c.jpg").taken(2020) },
            { "b.jpg", "c.jpg" } },
        EngineCase { "ModDateMarkLaterKeepsTheEarliest", { choiceRule("modDate", false) },
            { m("a.jpg").modified(2022), m("b.jpg").modified(2018), m("c.jpg").modified(2020) },
            { "a.jpg", "c.jpg" } },
        EngineCase { "LibraryItemOfAJpegPairIsKept", builtInRules(),
            { m("a.jpg").bytes(8), m("b.jpg").bytes(8).inLibrary() }, { "a.jpg" } },
        EngineCase { "UnknownKeyDecidesNothingSoLaterRulesRun", { rule("raw"), rule("size") },
            { m("a.jpg").bytes(3), m("b.jpg").bytes(5) }, { "a.jpg" } },
        EngineCase { "MalformedEntriesAreSkipped",
            { QStringLiteral("size"), QVariantMap { { QStringLiteral("key"), QStringLiteral("size") } },
                QVariantMap { { QStringLiteral("key"), 5 }, { QStringLiteral("state"), true } },
                rule("size", QStringLiteral("1")), rule("size", false), rule("dimension") },
            { m("a.jpg").bytes(9).px(100, 100), m("b.jpg").bytes(1).px(200, 200) }, { "a.jpg" } },
        EngineCase { "HiddenMembersKeepTheirMarksAndAreNotCounted", kSizeOnly,
            { m("a.jpg").bytes(3), m("b.jpg").bytes(5), m("c.jpg").bytes(70).hide().premarked() },
            { "a.jpg", "c.jpg" } },
        // A rule marks exactly what it does not keep: under "mark JPEG" the PNG stays.
        EngineCase { "PreferFormatMarksOnlyTheNamedFormat",
            { choiceRule("preferFormat", true), rule("size") },
            { m("x.heic").bytes(2), m("x.jpg").bytes(3), m("x.png").bytes(9) }, { "x.heic", "x.jpg" } },
        EngineCase { "PreferFormatMarkHeicKeepsJpeg", { choiceRule("preferFormat", false) },
            { m("x.HEIC").bytes(2), m("x.jpeg").bytes(3) }, { "x.HEIC" } },
        // A missing datum no longer blocks the order: the largest picture is kept.
        EngineCase { "DimensionWithAFileWithoutExifKeepsTheLargest", { rule("dimension") },
            { m("a.jpg").px(100, 100), m("b.jpg"), m("c.jpg").px(200, 200) }, { "a.jpg", "b.jpg" } },
        EngineCase { "DateWithoutCaptureDateFollowsTheDatedOnes", { choiceRule("date", false) },
            { m("a.jpg"), m("b.jpg").taken(2021), m("c.jpg").taken(2019) }, { "a.jpg", "b.jpg" } },
        // Metadata marks the copies without EXIF, and decides when one copy has it.
        EngineCase { "MetadataKeepsTheOnlyCopyWithExif", { rule("metadata"), rule("size") },
            { m("a.jpg").bytes(1), m("b.jpg").withExif(), m("c.jpg").bytes(9) }, { "a.jpg", "c.jpg" } },
        EngineCase { "MetadataMarksTheCopyWithoutExifThenNextRule", { rule("metadata"), rule("size") },
            { m("a.jpg").withExif().bytes(3), m("b.jpg").bytes(9), m("c.jpg").withExif().bytes(5) },
            { "a.jpg", "b.jpg" } },
        EngineCase { "MetadataWithoutExifAnywhereDecides", { rule("metadata"), rule("size") },
            { m("a.jpg").bytes(1), m("b.jpg").bytes(9) }, { "b.jpg" } }),
    [](const auto &info) { return std::string(info.param.name); });

// Whatever the records and rules, every shown group ends with exactly one unlocked unmarked member
// (when it has an unlocked one), locked members unmarked, hidden members as they were, and the
// counters equal to a recount.
TEST(AutoMarkRunInvariant, EveryGroupKeepsOneAndCountersMatchARecount)
{
    std::mt19937 random(20261207);
    auto chance = [&](int percent) { return int(random() % 100) < percent; };
    const QStringList extensions { QStringLiteral("jpg"), QStringLiteral("heic"), QStringLiteral("png"),
        QStringLiteral("JPEG") };
    for (int round = 0; round < 40; ++round) {
        ResultState state;
        for (int g = 0; g < 30; ++g) {
            std::vector<Member> members;
            const int count = 2 + int(random() % 5);
            for (int i = 0; i < count; ++i) {
                Member spec(QStringLiteral("f%1_%2.%3").arg(g).arg(i).arg(extensions[random() % 4]));
                spec.size = 1 + random() % 4;
                if (chance(70))
                    spec.px(1 + random() % 3, 100);
                if (chance(50))
                    spec.taken(2018 + int(random() % 3));
                if (chance(60))
                    spec.modified(2018 + int(random() % 3));
                spec.locked = chance(20);
                spec.library = chance(15);
                spec.hidden = chance(10);
                spec.marked = chance(30);
                members.push_back(spec);
            }
            state.arrGroups.push_back(makeGroup(members));
        }
        QVariantList rules = builtInRules();
        std::shuffle(rules.begin(), rules.end(), random);
        for (QVariant &r : rules) {
            QVariantMap map = r.toMap();
            map.insert(QStringLiteral("state"), chance(70) ? QVariant(1) : QVariant(false));
            if (map.contains(QStringLiteral("isMarkWithEarlier")))
                map.insert(QStringLiteral("isMarkWithEarlier"), chance(50));
            r = map;
        }
        std::vector<QStringList> hiddenBefore;
        for (const auto &g : state.arrGroups) {
            QStringList hiddenMarked;
            for (const auto &r : g->children)
                if (!g->filterChildren.contains(r) && r->isMark)
                    hiddenMarked.append(r->fileName);
            hiddenBefore.push_back(hiddenMarked);
        }
        AutoMarkRun run(state, [&] { return rules; });
        run.runToCompletion();
        for (size_t g = 0; g < state.arrGroups.size(); ++g) {
            const DuplicatesGroup &group = *state.arrGroups[g];
            int unlocked = 0, keptUnlocked = 0;
            QStringList hiddenMarked;
            for (const auto &r : group.children) {
                if (!group.filterChildren.contains(r)) {
                    if (r->isMark)
                        hiddenMarked.append(r->fileName);
                    continue;
                }
                EXPECT_FALSE(r->isLocked && r->isMark) << r->fileName.toStdString();
                if (!r->isLocked) {
                    ++unlocked;
                    keptUnlocked += r->isMark ? 0 : 1;
                }
            }
            EXPECT_EQ(keptUnlocked, unlocked > 0 ? 1 : 0) << "round " << round << " group " << g;
            EXPECT_EQ(hiddenMarked, hiddenBefore[g]);
        }
        const auto [count, size] = recount(state);
        ASSERT_EQ(state.countMarked, count) << "round " << round;
        ASSERT_EQ(state.sizeMarked, size) << "round " << round;
    }
}

} // namespace
