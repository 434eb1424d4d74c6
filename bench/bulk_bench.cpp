// The whole-table paths over the demo executable's bytes: export and import of all units
// and of all 8,658 weapon slots in both formats, and the diff of two executables.

#include <benchmark/benchmark.h>

#include "bulk/diff.h"
#include "bulk/table_export.h"
#include "bulk/table_import.h"
#include "fixtures/fixtures.h"
#include "tables/unit_table.h"

namespace vorlan::bench {
namespace {

const TableDef& tableOf(benchmark::State& state) {
    return state.range(0) == 0 ? unitTable() : weaponTable();
}

TableFormat formatOf(benchmark::State& state) {
    return state.range(1) == 0 ? TableFormat::Csv : TableFormat::Json;
}

void BM_Export(benchmark::State& state) {
    const auto& exe = test::demoBytes();
    for (auto _ : state)
        benchmark::DoNotOptimize(exportTable(tableOf(state), exe, nullptr, formatOf(state)));
}
BENCHMARK(BM_Export)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

void BM_Import(benchmark::State& state) {
    const auto& exe = test::demoBytes();
    std::string text = exportTable(tableOf(state), exe, nullptr, formatOf(state));
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    for (auto _ : state)
        benchmark::DoNotOptimize(planImport(tableOf(state), text, exe, nullptr));
}
BENCHMARK(BM_Import)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

void BM_Diff(benchmark::State& state) {
    const auto& before = test::demoBytes();
    auto after = before;
    for (std::size_t i = 0x1FBC20; i < after.size(); i += 997)
        after[i] ^= 0x01;  // a scattering of changes over every table and beyond
    for (auto _ : state)
        benchmark::DoNotOptimize(diffExecutables(before, after));
}
BENCHMARK(BM_Diff)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorlan::bench
