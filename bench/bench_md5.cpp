// MD5 of a 1 GB file: Quennary's streaming digest next to the system's md5sum on the same file,
// in one run (the first pass warms the page cache for both). Then MD5 in memory: Qt's, and each
// of Quennary's kernels hashing as many 64 KB buffers side by side as it has lanes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <vector>

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include "platform/Md5.h"
#include "platform/Md5Lanes.h"

namespace
{

constexpr qint64 kFileSize = qint64(1) << 30;

QString benchFile()
{
    const QByteArray overridden = qgetenv("QNY_BENCH_MD5_FILE");
    return overridden.isEmpty() ? QStringLiteral("/tmp/quennary-bench-md5-1g.bin")
                                : QString::fromLocal8Bit(overridden);
}

// Pseudo-random content (xorshift), so no layer can shortcut runs of equal bytes.
bool ensureFile(const QString &path)
{
    if (QFileInfo(path).size() == kFileSize)
        return true;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray block(1 << 20, Qt::Uninitialized);
    quint64 state = 0x9E3779B97F4A7C15ULL;
    for (qint64 written = 0; written < kFileSize; written += block.size()) {
        auto *words = reinterpret_cast<quint64 *>(block.data());
        for (qsizetype i = 0; i < block.size() / 8; ++i) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            words[i] = state;
        }
        if (file.write(block) != block.size())
            return false;
    }
    return true;
}

std::string md5sumOf(const QString &path)
{
    const std::string command = "md5sum '" + path.toStdString() + "'";
    FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return {};
    char digest[33] = {};
    const size_t got = std::fread(digest, 1, 32, pipe);
    ::pclose(pipe);
    return std::string(digest, got);
}

void BM_Md5OfFile(benchmark::State &state)
{
    const QString path = benchFile();
    if (!ensureFile(path)) {
        state.SkipWithError("cannot write the benchmark file");
        return;
    }
    std::string digest;
    for (auto _ : state)
        digest = Md5::ofFile(path).value_or(QString()).toStdString();
    if (digest != md5sumOf(path))
        state.SkipWithError("digest differs from md5sum");
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

void BM_Md5sum(benchmark::State &state)
{
    const QString path = benchFile();
    if (!ensureFile(path)) {
        state.SkipWithError("cannot write the benchmark file");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(md5sumOf(path));
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

// The size of one lane's read buffer in Md5Files.
constexpr qsizetype kBufferSize = 64 * 1024;

void BM_QtMd5InMemory(benchmark::State &state)
{
    const QByteArray buffer(kBufferSize, 'q');
    for (auto _ : state)
        benchmark::DoNotOptimize(QCryptographicHash::hash(buffer, QCryptographicHash::Md5));
    state.SetBytesProcessed(state.iterations() * kBufferSize);
}

void BM_Md5LanesInMemory(benchmark::State &state)
{
    const auto kernel = Md5Lanes::Kernel(state.range(0));
    if (!Md5Lanes::runs(kernel)) {
        state.SkipWithError("this processor lacks the kernel's instructions");
        return;
    }
    const int lanes = Md5Lanes::width(kernel);
    const QByteArray buffers(lanes * kBufferSize, 'q');
    std::vector<const uchar *> data;
    for (int i = 0; i < lanes; ++i)
        data.push_back(reinterpret_cast<const uchar *>(buffers.constData()) + i * kBufferSize);
    std::vector<Md5Digest::State> states(static_cast<size_t>(lanes));
    for (auto _ : state)
        Md5Lanes::compress(
            kernel, states.data(), data.data(), lanes, size_t(kBufferSize) / Md5Digest::kBlockBytes);
    benchmark::DoNotOptimize(states.data());
    state.SetBytesProcessed(state.iterations() * lanes * kBufferSize);
}

} // namespace

BENCHMARK(BM_QtMd5InMemory);
BENCHMARK(BM_Md5LanesInMemory)
    ->ArgName("kernel")
    ->Arg(int(Md5Lanes::Kernel::Scalar))
    ->Arg(int(Md5Lanes::Kernel::Avx2))
    ->Arg(int(Md5Lanes::Kernel::Avx512));
BENCHMARK(BM_Md5sum)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_Md5OfFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_Md5sum)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

BENCHMARK_MAIN();
