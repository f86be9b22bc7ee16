// One auto-mark run over 5,000 groups of three photos with EXIF records and the built-in rules,
// read from the settings for every group as the results window does. Most groups tie on the first
// rules, so the run goes deep into the list. Single-threaded, like the run itself.
#include <random>

#include <QCoreApplication>

#include "BenchMain.h"
#include "app/SettingsDefaults.h"
#include "platform/UserDefaults.h"
#include "removal/AutoMarkRun.h"
#include "removal/AutoMarkTestRecords.h"

namespace
{

using namespace AutoMarkTestRecords;

// The state holds a stop flag that cannot be copied, so it is filled in place.
void fillState(ResultState &state, int groups)
{
    std::mt19937 random(7);
    for (int g = 0; g < groups; ++g) {
        std::vector<Member> members;
        for (int i = 0; i < 3; ++i) {
            Member spec(QStringLiteral("p%1_%2.jpg").arg(g).arg(i));
            spec.px(4000, i == 2 && g % 2 ? 2000 : 3000);
            spec.taken(2015 + int(random() % 4));
            spec.modified(2016 + int(random() % 4));
            spec.size = 2'000'000 + random() % 3;
            members.push_back(spec);
        }
        state.arrGroups.push_back(makeGroup(members));
    }
}

void BM_AutoMarkRun(benchmark::State &bench)
{
    UserDefaults::standard().setObject(
        QStringLiteral("autoMarkRules"), SettingsDefaults::defaultAutoMarkRules());
    ResultState state;
    fillState(state, int(bench.range(0)));
    AutoMarkRun run(state);
    for (auto _ : bench) {
        run.runToCompletion();
        benchmark::DoNotOptimize(state.countMarked);
    }
    bench.counters["marked"] = state.countMarked;
    bench.SetItemsProcessed(bench.iterations() * bench.range(0));
}
BENCHMARK(BM_AutoMarkRun)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks<QCoreApplication>(argc, argv);
}
