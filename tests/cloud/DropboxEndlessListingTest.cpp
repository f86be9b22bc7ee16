// Dropbox servers that never end a listing: each ends it as one failure within its bound, and what
// the listing holds on the way stays within the entry bound.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cloud/DropboxTestSupport.h"

namespace
{

enum class Pages { freshEntries, noEntries, sameEntries, repeatedCursor };

struct EndlessCase {
    const char *name;
    Pages pages;
    int maxPagesServed;
    qsizetype maxHeld;
};

class EndlessListings : public testing::TestWithParam<EndlessCase>
{
};

constexpr int kPageEntries = 1000;
const DropboxListingBounds::Limits kLimits { CloudSource::kMaxListingPages, 5000, 10 };

// Every page promises more; its entries and cursor as the case says.
FakeResponse page(Pages kind, int n)
{
    QJsonArray entries;
    const bool fresh = kind == Pages::freshEntries || kind == Pages::repeatedCursor;
    for (int i = 0; kind != Pages::noEntries && i < kPageEntries; ++i) {
        const int id = fresh ? n * kPageEntries + i : i;
        entries.append(QJsonObject { { ".tag", "file" }, { "id", QStringLiteral("id:%1").arg(id) },
            { "name", QStringLiteral("p%1.jpg").arg(id) }, { "path_lower", QStringLiteral("/a/p%1.jpg").arg(id) },
            { "size", 2048 } });
    }
    const int cursor = kind == Pages::repeatedCursor ? n % 2 : n;
    const QJsonObject body { { "entries", entries }, { "cursor", QStringLiteral("c%1").arg(cursor) },
        { "has_more", true } };
    return FakeResponse::json(200, QJsonDocument(body).toJson(QJsonDocument::Compact));
}

qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(1).toLongLong() * 4096;
}

} // namespace

TEST_P(EndlessListings, EndAsOneFailureWithinTheirBounds)
{
    const EndlessCase c = GetParam();
    DropboxFixture f(10000, QStringLiteral("token-1"), kLimits);
    auto served = std::make_shared<std::atomic<int>>(0);
    const auto answer = [kind = c.pages, served](const RecordedRequest &) { return page(kind, (*served)++); };
    f.server.handle("POST", QStringLiteral("/2/files/list_folder"), answer);
    f.server.handle("POST", QStringLiteral("/2/files/list_folder/continue"), answer);
    const auto folder = dropboxFolder(QStringLiteral("Dropbox/A"));
    const qint64 before = residentBytes();

    ASSERT_TRUE(f.scan({ folder }));
    TestEvents::waitFor([] { return false; }, 100);

    EXPECT_EQ(f.delegate.finishCount(), 1);
    EXPECT_FALSE(f.delegate.lastFailure().isEmpty());
    EXPECT_LE(served->load(), c.maxPagesServed);
    const qsizetype held = folder->arrCloudDriveAllTypeFiles.size() + f.delegate.records.size();
    EXPECT_LE(held, 2 * c.maxHeld);
    EXPECT_LE(folder->arrCloudDriveAllTypeFiles.size(), c.maxHeld);
    // The bound's entries cost a few megabytes; an unbounded listing grows by gigabytes a minute.
    EXPECT_LT(residentBytes() - before, 64LL * 1024 * 1024);
}

INSTANTIATE_TEST_SUITE_P(Servers, EndlessListings,
    testing::Values(EndlessCase { "newEntriesOnEveryPage", Pages::freshEntries, 6, kLimits.maxEntries },
        EndlessCase { "emptyPagesForEver", Pages::noEntries, kLimits.maxPagesWithoutNewEntries, 0 },
        EndlessCase { "theSamePageForEver", Pages::sameEntries, kLimits.maxPagesWithoutNewEntries + 1, kPageEntries },
        EndlessCase { "aRepeatedCursor", Pages::repeatedCursor, 3, 3 * kPageEntries }),
    [](const testing::TestParamInfo<EndlessCase> &info) { return std::string(info.param.name); });
