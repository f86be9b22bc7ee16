// Reading binary settings files that hold wide arrays: one array of 200,000 integers, and arrays of
// 250,000 integers nested in another.
#include <QCoreApplication>

#include "BenchMain.h"
#include "platform/PropertyList.h"
#include "support/BinaryPlist.h"

namespace
{

QByteArray integers(int count)
{
    QByteArray xml("<array>");
    for (int i = 0; i < count; ++i)
        xml += "<integer>" + QByteArray::number(1000000 + i) + "</integer>";
    return xml + "</array>";
}

QByteArray plist(const QByteArray &body)
{
    const QByteArray xml
        = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>v</key>" + body
        + "</dict></plist>";
    return BinaryPlist::fromXml(xml);
}

void read(benchmark::State &state, const QByteArray &bytes)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(PropertyList::fromBytes(bytes));
    state.counters["MB"] = double(bytes.size()) / 1e6;
}

void BM_WideArray(benchmark::State &state)
{
    read(state, plist(integers(200000)));
}

void BM_NestedWideArrays(benchmark::State &state)
{
    read(state, plist("<array>" + integers(250000).repeated(3) + "</array>"));
}

} // namespace

BENCHMARK(BM_WideArray)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_NestedWideArrays)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char **argv)
{
    return runBenchmarks<QCoreApplication>(argc, argv);
}
