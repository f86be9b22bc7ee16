// What the folder tree keeps of a listed cloud file comes back field for field.
#include <gtest/gtest.h>

#include <QTimeZone>

#include "model/CloudListedFile.h"

namespace
{

struct Listed {
    const char *path;
    const char *name;
    const char *id;
    const char *rev;
    const char *hash;
};

class CloudListedFiles : public testing::TestWithParam<Listed>
{
};

TEST_P(CloudListedFiles, GiveBackWhatTheyWereMadeFrom)
{
    const Listed &p = GetParam();
    const QDateTime created(QDate(2019, 1, 1), QTime(12, 34, 56), QTimeZone::utc());
    const CloudListedFile::Fields fields { QString::fromUtf8(p.path), QString::fromUtf8(p.name),
        QString::fromUtf8(p.id), QString::fromUtf8(p.rev), QString::fromUtf8(p.hash), 4123456, created,
        created.addDays(1) };
    const std::optional<CloudListedFile> file = CloudListedFile::make(fields);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->path(), fields.path);
    EXPECT_EQ(file->name(), fields.name);
    EXPECT_EQ(file->id(), fields.id);
    EXPECT_EQ(file->rev(), fields.rev);
    EXPECT_EQ(file->contentHash(), fields.contentHash);
    EXPECT_EQ(file->size(), fields.size);
    EXPECT_EQ(file->created(), created);
    EXPECT_EQ(file->modified(), created.addDays(1));
    EXPECT_LT(file->heldBytes(), 400);
}

INSTANTIATE_TEST_SUITE_P(Files, CloudListedFiles,
    testing::Values(Listed { "/Camera Uploads/IMG_1.JPG", "IMG_1.JPG", "id:a4ayc_80_OEAAAAAAAAAXw",
                        "a1c10ce0dd78", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855" },
        // A name that is not the path's last part (another case), texts beyond ASCII, none at all.
        Listed { "/trips/été/ä.jpg", "Ä.jpg", "id:ü", "", "" }, Listed { "", "", "", "", "" },
        Listed { "/a/b.jpg", "b.jpg", "", "0", "" }));

TEST(CloudListedFile, ATextTooLongForARealFileIsNotKept)
{
    CloudListedFile::Fields fields;
    fields.path = QString(70000, QLatin1Char('p'));
    EXPECT_FALSE(CloudListedFile::make(fields));
    fields.path = QStringLiteral("/a.jpg");
    fields.id = QString(70000, QLatin1Char('i'));
    EXPECT_FALSE(CloudListedFile::make(fields));
}

} // namespace
