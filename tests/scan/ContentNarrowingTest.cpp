// Which files an exact scan reads at their ends and which it reads whole.
#include <gtest/gtest.h>

#include "model/ImageFileInfo.h"
#include "scan/ContentNarrowing.h"

namespace
{

struct File {
    quint64 size;
    bool video;
    // A cached sum; empty when the file's sum is unknown.
    const char *sum;
    // Digest of its ends when they are read ("" unreadable).
    const char *ends;
};

struct NarrowingCase {
    const char *name;
    std::vector<File> files;
    QString endsRead;
    QString readWhole;
};

class ContentNarrowingTest : public ::testing::TestWithParam<NarrowingCase>
{
};

// Indexes of `picked` within `records`, as one text ("013").
QString indexes(const RecordList &records, const RecordList &picked)
{
    QString out;
    for (const auto &r : picked)
        out += QString::number(records.indexOf(r));
    return out;
}

TEST_P(ContentNarrowingTest, OnlyFilesThatMayBeCopiesAreRead)
{
    const NarrowingCase &c = GetParam();
    RecordList records;
    for (const File &f : c.files) {
        auto r = std::make_shared<ImageFileInfo>();
        r->fileSize = f.size;
        r->isVideo = f.video;
        r->fileMd5 = QString::fromLatin1(f.sum);
        records.append(r);
    }
    const ContentNarrowing narrowing(records);
    const RecordList ends = narrowing.needingEnds();
    EXPECT_EQ(indexes(records, ends), c.endsRead);
    std::vector<QByteArray> digests;
    for (const auto &r : ends)
        digests.push_back(QByteArray(c.files[size_t(records.indexOf(r))].ends));
    EXPECT_EQ(indexes(records, narrowing.needingSums(digests)), c.readWhole);
}

constexpr quint64 kLarge = 50000;

INSTANTIATE_TEST_SUITE_P(Cases, ContentNarrowingTest,
    ::testing::Values(
        NarrowingCase { "SameEndsAreReadWhole", { { kLarge, false, "", "a" }, { kLarge, false, "", "a" } }, "01", "01" },
        NarrowingCase { "OtherEndsAreNot", { { kLarge, false, "", "a" }, { kLarge, false, "", "b" } }, "01", "" },
        NarrowingCase { "AloneInItsSize", { { kLarge, false, "", "a" }, { kLarge + 1, false, "", "a" } }, "", "" },
        NarrowingCase { "PhotoAndVideoNeverPair", { { kLarge, false, "", "a" }, { kLarge, true, "", "a" } }, "", "" },
        NarrowingCase { "CachedSumsAreNotReadAgain", { { kLarge, false, "s", "a" }, { kLarge, false, "s", "a" } }, "",
            "" },
        NarrowingCase { "ANewFileBesideACachedOne", { { kLarge, false, "s", "a" }, { kLarge, false, "", "a" } }, "01",
            "1" },
        NarrowingCase { "UnreadableEndsMatchNothing",
            { { kLarge, false, "", "" }, { kLarge, false, "", "" }, { kLarge, false, "", "a" } }, "012", "" },
        NarrowingCase { "SmallFilesAreReadWholeAtOnce",
            { { 8192, false, "", "" }, { 8192, false, "", "" }, { 100, true, "", "" }, { 100, true, "s", "" } }, "",
            "012" }),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
