// Every control of the gallery renders in each of its states at the size it was given.
#include <set>

#include <gtest/gtest.h>

#include "controls/ControlGallery.h"

TEST(ControlGallery, EveryControlRendersInEachStateAtItsSize)
{
    const std::vector<GalleryItem> items = ControlGallery::build();
    ASSERT_GE(items.size(), 30u);
    std::set<QString> names;
    for (const GalleryItem &item : items) {
        EXPECT_TRUE(names.insert(item.name).second) << item.name.toStdString();
        const QPixmap pixmap = item.widget->grab();
        EXPECT_FALSE(pixmap.isNull()) << item.name.toStdString();
        EXPECT_EQ(pixmap.deviceIndependentSize().toSize(), item.widget->size()) << item.name.toStdString();
    }
    // Each family of controls is there.
    for (const char *family : { "IMGButton", "CFMButton", "CircularProgressBarView", "GradientBox",
             "BlackView", "CustomWindowNag", "LinkButton", "ITPathbar", "CustomTableView",
             "CustomOutlineView", "CustomScrollView", "CustomScrollViewDefault" }) {
        const QString prefix = QString::fromLatin1(family) + QLatin1Char('-');
        const bool present = std::any_of(names.begin(), names.end(),
            [&](const QString &n) { return n.startsWith(prefix) || n == QLatin1String(family); });
        EXPECT_TRUE(present) << family;
    }
}

TEST(ControlGallery, DisabledStatesAreDisabled)
{
    for (const GalleryItem &item : ControlGallery::build()) {
        // A pressed image button is disabled until release.
        const bool disabled
            = item.name.endsWith(QLatin1String("-disabled")) || item.name == "IMGButton-on-pressed";
        EXPECT_EQ(item.widget->isEnabled(), !disabled) << item.name.toStdString();
    }
}

TEST(ControlGallery, EveryControlCopesWithTinySizesAndHiding)
{
    for (const GalleryItem &item : ControlGallery::build()) {
        for (const QSize size : { QSize(0, 0), QSize(3, 3), QSize(1, 200) }) {
            item.widget->resize(size);
            const QPixmap pixmap = item.widget->grab();
            const QSize expected = item.widget->size().isEmpty() ? QSize(0, 0) : item.widget->size();
            EXPECT_EQ(pixmap.deviceIndependentSize().toSize(), expected) << item.name.toStdString();
        }
        item.widget->hide();
        EXPECT_TRUE(item.widget->isHidden()) << item.name.toStdString();
        item.widget->resize(40, 20);
        EXPECT_FALSE(item.widget->grab().isNull()) << item.name.toStdString();
    }
}
