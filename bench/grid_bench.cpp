// The grid's model over all 8,658 weapon slots: loading it from the file's bytes, and
// producing every cell a screenful of rows shows (what scrolling costs). Opening, sorting and
// filtering the grid window are timed as actions (grid_actions_bench.cpp).

#include <benchmark/benchmark.h>

#include "bench_demo.h"
#include "fixtures/fixtures.h"
#include "session/editor_context.h"
#include "tables/unit_table.h"
#include "toolkit/console_dialogs.h"
#include "toolkit/table_model.h"

namespace vorlan::bench {
namespace {

struct WeaponGrid {
    test::DemoExe demo;
    ConsoleDialogs dialogs;
    EditorContext context{dialogs, dataDir()};
    TableModel model{weaponTable(), context.session()};
    WeaponGrid() {
        context.session().openExecutable(QString::fromStdString(demo.path().string()), nullptr);
        model.load(test::demoBytes(), false);
    }
};

void BM_GridLoad(benchmark::State& state) {
    WeaponGrid grid;
    for (auto _ : state)
        grid.model.load(test::demoBytes(), false);
    state.counters["rows"] = grid.model.rowCount();
}
BENCHMARK(BM_GridLoad)->Unit(benchmark::kMillisecond);

void BM_GridScreenful(benchmark::State& state) {
    WeaponGrid grid;
    int top = 0;
    for (auto _ : state) {
        for (int r = top; r < top + 40; ++r) {
            for (int c = 0; c < grid.model.columnCount(); ++c)
                benchmark::DoNotOptimize(grid.model.data(grid.model.index(r, c), Qt::DisplayRole));
        }
        top = (top + 40) % (grid.model.rowCount() - 40);
    }
}
BENCHMARK(BM_GridScreenful)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vorlan::bench
