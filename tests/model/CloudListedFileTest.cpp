// What the folder tree keeps of a listed cloud file comes back field for field, or is not kept.
#include <gtest/gtest.h>

#include <QTimeZone>

#include "model/CloudListedFile.h"

namespace
{

// A name that is the path's last part or not (another case), texts beyond ASCII, none at all.
TEST(CloudListedFile, GivesBackWhatItWasMadeFromOrIsNotKept)
{
    const QDateTime created(QDate(2019, 1, 1), QTime(12, 34, 56), QTimeZone::utc());
    for (const QStringList &t :
        { QStringList { "/Camera Uploads/IMG_1.JPG", "IMG_1.JPG", "id:a4ayc_80_OEAAAAAAAAAXw", "a1c10ce0dd78",
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855" },
            QStringList { "/trips/été/ä.jpg", "Ä.jpg", "id:ü", "", "" }, QStringList(5) }) {
        const auto file
            = CloudListedFile::make({ t[0], t[1], t[2], t[3], t[4], 4123456, created, created.addDays(1) });
        ASSERT_TRUE(file);
        EXPECT_EQ(
            (QStringList { file->path(), file->name(), file->id(), file->rev(), file->contentHash() }), t);
        EXPECT_EQ(std::tuple(file->size(), file->created(), file->modified()),
            std::tuple(quint64(4123456), created, created.addDays(1)));
        EXPECT_LT(file->heldBytes(), 400);
    }
    // A text too long for a real file is not kept.
    using F = CloudListedFile::Fields;
    for (QString F::*text : { &F::path, &F::name, &F::id, &F::rev, &F::contentHash }) {
        F fields;
        fields.*text = QString(70000, QLatin1Char('x'));
        EXPECT_FALSE(CloudListedFile::make(fields));
    }
}

} // namespace
