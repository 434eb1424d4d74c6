// Reading the four name lists of the data folder, and building the character table's
// indexes from its list: what every open of an executable costs before anything shows.

#include <benchmark/benchmark.h>

#include "fixtures/fixtures.h"
#include "lists/name_lists.h"
#include "text/char_table.h"

namespace vorlan::bench {
namespace {

void BM_LoadNameLists(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(loadNameLists(test::sourceDataDir()));
}
BENCHMARK(BM_LoadNameLists)->Unit(benchmark::kMillisecond);

void BM_BuildCharTable(benchmark::State& state) {
    const auto chars = readListFile(test::sourceDataDir(), kCharList);
    for (auto _ : state)
        benchmark::DoNotOptimize(CharTable(chars));
}
BENCHMARK(BM_BuildCharTable)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorlan::bench
