// Property lists and the settings store keep their types exactly.
#include <gtest/gtest.h>

#include <vector>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/PlistNesting.h"
#include "platform/PropertyList.h"
#include "platform/UserDefaults.h"
#include "support/BinaryPlist.h"

TEST(PropertyList, RoundTripKeepsEveryType)
{
    QVariantMap map;
    map["bool"] = true;
    map["int"] = qlonglong(4);
    map["negative"] = qlonglong(-86400);
    map["real"] = 4.0;
    map["text"] = QStringLiteral("Grüße <&>");
    map["data"] = QByteArray("\x00\x01\xff", 3);
    map["date"] = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
    map["list"] = QVariantList { qlonglong(1), QStringLiteral("two") };
    map["dict"] = QVariantMap { { "inner", false } };
    const std::optional<QVariant> back = PropertyList::fromBytes(PropertyList::toXml(map));
    ASSERT_TRUE(back.has_value());
    const QVariantMap m = back->toMap();
    EXPECT_EQ(m["bool"].typeId(), QMetaType::Bool);
    EXPECT_EQ(m["int"].typeId(), QMetaType::LongLong);
    EXPECT_EQ(m["int"].toLongLong(), 4);
    EXPECT_EQ(m["negative"].toLongLong(), -86400);
    EXPECT_EQ(m["real"].typeId(), QMetaType::Double);
    EXPECT_EQ(m["text"].toString(), QStringLiteral("Grüße <&>"));
    EXPECT_EQ(m["data"].toByteArray(), QByteArray("\x00\x01\xff", 3));
    EXPECT_EQ(m["date"].toDateTime().toSecsSinceEpoch(), 1700000000);
    EXPECT_EQ(m["list"].toList().size(), 2);
    EXPECT_EQ(m["dict"].toMap()["inner"].typeId(), QMetaType::Bool);
}

TEST(PropertyList, MalformedInputGivesNothing)
{
    EXPECT_FALSE(PropertyList::fromBytes(QByteArray("not a plist")).has_value());
    EXPECT_FALSE(PropertyList::fromBytes(QByteArray()).has_value());
}

TEST(UserDefaults, UserValuesOverrideDefaultsAndPersist)
{
    QTemporaryDir dir;
    const QString file = dir.path() + "/settings.plist";
    {
        UserDefaults store(file);
        store.registerDefaults({ { "level", 4.0 }, { "name", QStringLiteral("x") } });
        EXPECT_EQ(store.doubleForKey("level"), 4.0);
        EXPECT_FALSE(store.hasUserValue("level"));
        store.setObject("level", qlonglong(6));
        EXPECT_EQ(store.integerForKey("level"), 6);
    }
    UserDefaults again(file);
    EXPECT_EQ(again.objectForKey("level").typeId(), QMetaType::LongLong);
    EXPECT_EQ(again.stringForKey("name"), QString()); // defaults are registered per run, not stored
    again.removeObject("level");
    again.registerDefaults({ { "level", 4.0 } });
    EXPECT_EQ(again.objectForKey("level").typeId(), QMetaType::Double);
}

namespace
{

QByteArray nestedXml(int depth)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">";
    xml += QByteArray("<array>").repeated(depth) + "<true/>" + QByteArray("</array>").repeated(depth);
    return xml + "</plist>\n";
}

void appendBigEndian(QByteArray &out, quint64 value, int width)
{
    for (int i = width - 1; i >= 0; --i)
        out.append(char((value >> (8 * i)) & 0xff));
}

// Object i is an array holding object `next(i)` `fanOut` times; the last object is an empty array.
QByteArray chainedBinary(int count, int (*next)(int, int), int fanOut = 1)
{
    QByteArray out = "bplist00";
    std::vector<quint64> offsets;
    for (int i = 0; i < count; ++i) {
        offsets.push_back(quint64(out.size()));
        const int target = next(i, count);
        if (target < 0) {
            out.append(char(0xA0));
            continue;
        }
        out.append(char(0xA0 | fanOut));
        for (int k = 0; k < fanOut; ++k)
            appendBigEndian(out, quint64(target), 4);
    }
    const quint64 table = quint64(out.size());
    for (const quint64 offset : offsets)
        appendBigEndian(out, offset, 4);
    out.append(QByteArray(6, '\0'));
    out.append(char(4));
    out.append(char(4));
    appendBigEndian(out, quint64(count), 8);
    appendBigEndian(out, 0, 8);
    appendBigEndian(out, table, 8);
    return out;
}

int chainNext(int i, int count)
{
    return i + 1 < count ? i + 1 : -1;
}
int circleNext(int i, int count)
{
    return (i + 1) % count;
}

} // namespace

// Nesting that would overflow the stack in the parser or the conversion is refused before either
// runs; ordinary depths still read.
TEST(PropertyList, DeepNestingIsRefusedWithoutRecursion)
{
    EXPECT_TRUE(PropertyList::fromBytes(nestedXml(200)).has_value());
    EXPECT_FALSE(PropertyList::fromBytes(nestedXml(PlistNesting::kMaxDepth + 1)).has_value());
    EXPECT_FALSE(PropertyList::fromBytes(nestedXml(50000)).has_value());
    EXPECT_FALSE(PropertyList::fromBytes(nestedXml(500000)).has_value());

    const std::optional<QVariant> shallow = PropertyList::fromBytes(chainedBinary(100, chainNext));
    ASSERT_TRUE(shallow.has_value());
    EXPECT_EQ(shallow->typeId(), QMetaType::QVariantList);
    EXPECT_FALSE(PropertyList::fromBytes(chainedBinary(50000, chainNext)).has_value());
    EXPECT_FALSE(PropertyList::fromBytes(chainedBinary(3, circleNext)).has_value());
}

// Wide binary arrays within every cap read whole and in order: 200,000 integers, alone and nested
// with others (reading them item by item from the front took minutes).
TEST(PropertyList, WideArraysReadWholeAndInOrder)
{
    const auto integers = [](int count, int from) {
        QVariantList list;
        for (int i = 0; i < count; ++i)
            list.append(qlonglong(from + i));
        return list;
    };
    const QVariantList wide = integers(200000, 7);
    const QVariantList nested { integers(60000, 0), integers(60000, -60000), wide, integers(60000, 1 << 30) };
    for (const QVariantList &list : { wide, nested }) {
        const QVariantMap settings { { QStringLiteral("v"), list } };
        const std::optional<QVariant> back
            = PropertyList::fromBytes(BinaryPlist::fromXml(PropertyList::toXml(settings)));
        ASSERT_TRUE(back.has_value());
        EXPECT_TRUE(back->toMap() == settings);
    }
}

// Shared references count each time they are met: a list of a few hundred bytes that unfolds into
// 14^7 values is refused before the parser copies anything; ordinary sharing still reads.
TEST(PropertyList, ListsThatUnfoldPastTheCapAreRefused)
{
    EXPECT_TRUE(PropertyList::fromBytes(chainedBinary(5, chainNext, 14)).has_value());
    EXPECT_FALSE(PropertyList::fromBytes(chainedBinary(7, chainNext, 14)).has_value());
    EXPECT_FALSE(PlistNesting::isWithin(nestedXml(3), PlistNesting::kMaxDepth, 4));
}

// A settings file that cannot be read (here one that would unfold into 14^7 values) is set aside
// once; the defaults apply and the next start is clean.
TEST(UserDefaults, AnUnreadableSettingsFileIsSetAsideAndDefaultsApply)
{
    QTemporaryDir dir;
    const QString file = dir.path() + "/settings.plist";
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(chainedBinary(8, chainNext, 14));
    }
    UserDefaults store(file);
    store.registerDefaults({ { "level", 4.0 } });
    EXPECT_EQ(store.doubleForKey("level"), 4.0);
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_TRUE(QFileInfo::exists(file + ".unusable"));
    store.setObject("level", 5.0);
    UserDefaults again(file);
    EXPECT_EQ(again.doubleForKey("level"), 5.0);
}
