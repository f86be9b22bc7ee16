// Property lists and the settings store keep their types exactly.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QTemporaryDir>

#include "platform/PropertyList.h"
#include "platform/UserDefaults.h"

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
    map["list"] = QVariantList{qlonglong(1), QStringLiteral("two")};
    map["dict"] = QVariantMap{{"inner", false}};
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
        store.registerDefaults({{"level", 4.0}, {"name", QStringLiteral("x")}});
        EXPECT_EQ(store.doubleForKey("level"), 4.0);
        EXPECT_FALSE(store.hasUserValue("level"));
        store.setObject("level", qlonglong(6));
        EXPECT_EQ(store.integerForKey("level"), 6);
    }
    UserDefaults again(file);
    EXPECT_EQ(again.objectForKey("level").typeId(), QMetaType::LongLong);
    EXPECT_EQ(again.stringForKey("name"), QString()); // defaults are registered per run, not stored
    again.removeObject("level");
    again.registerDefaults({{"level", 4.0}});
    EXPECT_EQ(again.objectForKey("level").typeId(), QMetaType::Double);
}
