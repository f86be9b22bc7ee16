// Moving 10,000 marked files to the Trash with the removal run (plan with its guard, re-checks, the
// move and its .trashinfo, the groups refreshed) beside a bare rename(2) loop over as many files of
// the same size. Each reports files per second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "BenchMain.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/FileFacts.h"
#include "removal/RemovalRoutes.h"
#include "removal/RemovalRun.h"
#include "results/ResultState.h"

namespace
{

constexpr int kFiles = 10000;
const QByteArray kContent(4096, 'p');

QString writeFile(const QString &folder, int i, const char *prefix)
{
    const QString path = QStringLiteral("%1/%2%3.jpg").arg(folder, QLatin1String(prefix)).arg(i);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(kContent) != kContent.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return path;
}

std::shared_ptr<ImageFileInfo> recordOf(const QString &path, bool marked)
{
    auto r = std::make_shared<ImageFileInfo>();
    r->filePath = path;
    r->fileSize = std::uint64_t(FileFacts::size(path).value_or(0));
    r->modDate = FileFacts::modificationDate(path).value_or(QDateTime());
    r->match = 1.0f;
    r->isMark = marked;
    return r;
}

// 10,000 groups of a kept file and a marked copy.
void makeGroups(const QString &folder, ResultState &state)
{
    std::vector<std::shared_ptr<DuplicatesGroup>> groups;
    for (int i = 0; i < kFiles; ++i) {
        auto group = std::make_shared<DuplicatesGroup>();
        group->children
            = { recordOf(writeFile(folder, i, "keep"), false), recordOf(writeFile(folder, i, "copy"), true) };
        groups.push_back(group);
    }
    state.enterGroups(groups);
    state.applyLevel(0.0f);
}

void BM_RemovalRunToTrash(benchmark::State &bench)
{
    const auto routes = std::make_shared<RemovalRoutes>();
    int removed = 0;
    for (auto _ : bench) {
        QTemporaryDir dir;
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
        ResultState state;
        makeGroups(dir.path(), state);
        RemovalRun run(state, routes);
        QElapsedTimer clock;
        clock.start();
        run.start();
        while (run.isRunning())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        bench.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        removed += state.countTrashed;
    }
    bench.counters["files/s"] = benchmark::Counter(double(removed), benchmark::Counter::kIsRate);
    bench.counters["removed"] = double(removed) / double(bench.iterations());
}

void BM_BareRenameLoop(benchmark::State &bench)
{
    int moved = 0;
    for (auto _ : bench) {
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath(QStringLiteral("moved")));
        std::vector<QByteArray> from, to;
        for (int i = 0; i < kFiles; ++i) {
            from.push_back(QFile::encodeName(writeFile(dir.path(), i, "copy")));
            to.push_back(QFile::encodeName(dir.filePath(QStringLiteral("moved/copy%1.jpg").arg(i))));
        }
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < kFiles; ++i)
            moved += std::rename(from[size_t(i)].constData(), to[size_t(i)].constData()) == 0 ? 1 : 0;
        bench.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
    bench.counters["files/s"] = benchmark::Counter(double(moved), benchmark::Counter::kIsRate);
}

// The floor the Trash cannot go below: each rename with a small info file created beside it.
void BM_RenameWithInfoFile(benchmark::State &bench)
{
    int moved = 0;
    for (auto _ : bench) {
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath(QStringLiteral("moved")));
        QDir().mkpath(dir.filePath(QStringLiteral("info")));
        std::vector<QByteArray> from, to, info;
        for (int i = 0; i < kFiles; ++i) {
            from.push_back(QFile::encodeName(writeFile(dir.path(), i, "copy")));
            to.push_back(QFile::encodeName(dir.filePath(QStringLiteral("moved/copy%1.jpg").arg(i))));
            info.push_back(
                QFile::encodeName(dir.filePath(QStringLiteral("info/copy%1.jpg.trashinfo").arg(i))));
        }
        const QByteArray text("[Trash Info]\nPath=/some/where/copy.jpg\nDeletionDate=2026-01-01T00:00:00\n");
        QElapsedTimer clock;
        clock.start();
        for (size_t i = 0; i < size_t(kFiles); ++i) {
            const int fd = ::open(info[i].constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (fd < 0 || ::write(fd, text.constData(), size_t(text.size())) != text.size())
                continue;
            ::close(fd);
            moved += std::rename(from[i].constData(), to[i].constData()) == 0 ? 1 : 0;
        }
        bench.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
    bench.counters["files/s"] = benchmark::Counter(double(moved), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_RemovalRunToTrash)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_BareRenameLoop)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_RenameWithInfoFile)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

int main(int argc, char **argv)
{
    return runBenchmarks<QGuiApplication>(argc, argv);
}
