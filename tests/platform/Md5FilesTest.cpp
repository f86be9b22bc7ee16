// Our MD5 against Qt's: the digest fed in pieces, and many files summed side by side by every
// kernel this processor runs, with lanes of unequal lengths refilled as files end.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>

#include "platform/Md5Buffers.h"
#include "platform/Md5Digest.h"
#include "platform/Md5Files.h"
#include "support/TestFiles.h"

namespace
{

QByteArray randomBytes(std::mt19937 &random, qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &c : bytes)
        c = char(random());
    return bytes;
}

QString qtSum(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

class Md5FilesByKernel : public testing::TestWithParam<Md5Lanes::Kernel>
{
};

} // namespace

TEST(Md5Digest, KnownDigestsWholeAndInPieces)
{
    const std::pair<QByteArray, const char *> known[] = { { "", "d41d8cd98f00b204e9800998ecf8427e" },
        { "a", "0cc175b9c0f1b6a831c399e269772661" }, { "abc", "900150983cd24fb0d6963f7d28e17f72" },
        { "message digest", "f96b697d7cb7938d525a2f31aaf161d0" },
        { "abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b" },
        { "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
            "d174ab98d277d9f5a5611c2c9f419d9f" },
        { QByteArray("1234567890").repeated(8), "57edf4a22be3c955ac49da2e2107b67a" } };
    for (const auto &[message, digest] : known) {
        Md5Digest whole;
        whole.addData(message.constData(), size_t(message.size()));
        EXPECT_EQ(whole.result().toHex(), digest) << message.constData();
    }
    // Pieces of every size across block edges, and a state carried over into a new digest.
    std::mt19937 random(46);
    for (qsizetype size : { 55, 56, 63, 64, 65, 119, 120, 128, 1000, 70000 }) {
        const QByteArray message = randomBytes(random, size);
        Md5Digest pieces;
        for (qsizetype at = 0; at < size;) {
            const qsizetype piece = std::min<qsizetype>(size - at, qsizetype(random() % 150));
            pieces.addData(message.constData() + at, size_t(piece));
            at += piece;
        }
        const qsizetype whole = size / 64 * 64;
        Md5Digest head;
        head.addData(message.constData(), size_t(whole));
        Md5Digest resumed(head.state());
        resumed.addData(message.constData() + whole, size_t(size - whole));
        EXPECT_EQ(QString::fromLatin1(pieces.result().toHex()), qtSum(message)) << size;
        EXPECT_EQ(QString::fromLatin1(resumed.result().toHex()), qtSum(message)) << size;
    }
}

TEST_P(Md5FilesByKernel, EveryFileGetsQtsSumOnceUnreadableOnesNone)
{
    if (!Md5Lanes::runs(GetParam()))
        GTEST_SKIP() << "this processor lacks the kernel's instructions";
    QTemporaryDir dir;
    std::mt19937 random { unsigned(GetParam()) };
    QStringList paths;
    std::map<qsizetype, QString> expected;
    // Every length around the first block edges, then longer files that outlast a read buffer,
    // with a missing file, a folder (which opens but cannot be read) and a file that reads on past
    // its stated size among them.
    std::vector<qsizetype> sizes;
    for (qsizetype size = 0; size <= 300; ++size)
        sizes.push_back(size);
    for (qsizetype size : { 4096, 65535, 65536, 65537, 200003, 1000 })
        sizes.push_back(size);
    for (qsizetype size : sizes) {
        if (paths.size() == 40)
            paths.append(QDir(dir.path()).filePath(QStringLiteral("missing")));
        if (paths.size() == 170)
            paths.append(dir.path());
        if (paths.size() == 250)
            paths.append(QStringLiteral("/proc/self/status"));
        const QByteArray content = randomBytes(random, size);
        expected[paths.size()] = qtSum(content);
        paths.append(QDir(dir.path()).filePath(QString::number(paths.size())));
        ASSERT_TRUE(TestFiles::write(paths.back(), content));
    }
    std::map<qsizetype, std::optional<QString>> got;
    Md5Files(paths, nullptr, GetParam()).run([&](qsizetype index, std::optional<QString> sum) {
        EXPECT_TRUE(got.emplace(index, std::move(sum)).second) << "twice: " << index;
    });
    ASSERT_EQ(got.size(), size_t(paths.size()));
    for (const auto &[index, sum] : got)
        EXPECT_EQ(sum, expected.count(index) ? std::optional(expected[index]) : std::nullopt) << index;
}

TEST_P(Md5FilesByKernel, StopEndsTheRunAtOnce)
{
    if (!Md5Lanes::runs(GetParam()))
        GTEST_SKIP() << "this processor lacks the kernel's instructions";
    QTemporaryDir dir;
    QStringList paths;
    for (int i = 0; i < 40; ++i) {
        paths.append(QDir(dir.path()).filePath(QString::number(i)));
        ASSERT_TRUE(TestFiles::write(paths.back(), QByteArray(100 + 1000 * i, 'q')));
    }
    std::atomic<bool> stop { false };
    int calls = 0;
    Md5Files(paths, &stop, GetParam()).run([&](qsizetype, std::optional<QString>) {
        ++calls;
        stop = true;
    });
    EXPECT_EQ(calls, 1);
}

// Jobs of one pass take their read buffer from the pass's pool: one after another they share one
// buffer, and what a former job left in it never reaches a later job's sums.
TEST_P(Md5FilesByKernel, PooledBufferServesJobAfterJobWithItsOwnBytes)
{
    if (!Md5Lanes::runs(GetParam()))
        GTEST_SKIP() << "this processor lacks the kernel's instructions";
    QTemporaryDir dir;
    std::mt19937 random { 7u + unsigned(GetParam()) };
    Md5Buffers buffers;
    // Long files first, then short ones that end inside the bytes the long ones left behind.
    for (const qsizetype size : { 300000, 70001, 129, 63, 0 }) {
        QStringList paths;
        std::map<qsizetype, QString> expected;
        for (int i = 0; i < 20; ++i) {
            const QByteArray content = randomBytes(random, size + i);
            expected[paths.size()] = qtSum(content);
            paths.append(QDir(dir.path()).filePath(QStringLiteral("%1-%2").arg(size).arg(i)));
            ASSERT_TRUE(TestFiles::write(paths.back(), content));
        }
        std::map<qsizetype, std::optional<QString>> got;
        Md5Files(paths, nullptr, GetParam(), &buffers).run([&](qsizetype index, std::optional<QString> sum) {
            got.emplace(index, std::move(sum));
        });
        ASSERT_EQ(got.size(), expected.size()) << size;
        for (const auto &[index, sum] : got)
            EXPECT_EQ(sum, std::optional(expected[index])) << size << " " << index;
    }
    EXPECT_EQ(buffers.made(), 1);
    // Jobs at once each hold a buffer of their own; given back, they serve the next ones.
    {
        const Md5Buffers::Lease first = buffers.take(1024);
        const Md5Buffers::Lease second = buffers.take(1024);
        EXPECT_NE(first.data(), second.data());
    }
    const Md5Buffers::Lease again = buffers.take(1024);
    EXPECT_EQ(buffers.made(), 2);
}

INSTANTIATE_TEST_SUITE_P(Kernels, Md5FilesByKernel,
    testing::Values(Md5Lanes::Kernel::Scalar, Md5Lanes::Kernel::Avx2, Md5Lanes::Kernel::Avx512),
    [](const testing::TestParamInfo<Md5Lanes::Kernel> &info) {
        return std::string(info.param == Md5Lanes::Kernel::Scalar ? "Scalar"
                : info.param == Md5Lanes::Kernel::Avx2            ? "Avx2"
                                                                  : "Avx512");
    });
