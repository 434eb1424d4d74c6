// Show and save of one unit through the document and the entry editor, as both front ends
// do it: a show reads the record under the lock; a save checks, journals, writes, flushes
// and reads back.

#include <benchmark/benchmark.h>

#include "bench_demo.h"
#include "document/entry_editor.h"
#include "tables/catalog.h"
#include "tables/unit_table.h"

namespace vorlan::bench {
namespace {

void BM_ShowUnit(benchmark::State& state) {
    test::DemoExe demo;
    auto document = Document::open(demo.path(), tableLayout());
    EntryEditor editor(*document, nullptr);
    for (auto _ : state)
        benchmark::DoNotOptimize(editor.show(unitTable(), 5));
}
BENCHMARK(BM_ShowUnit);

void BM_SaveUnit(benchmark::State& state) {
    test::DemoExe demo;
    auto document = Document::open(demo.path(), tableLayout());
    EntryEditor editor(*document, nullptr);
    const int hp = unitTable().fieldIndex("hp");
    const EntryView view = editor.show(unitTable(), 5);
    EntryEdit edit{&unitTable(), 5, view.values, view.values};
    // Two values in turn, so that every save writes; the first write (which makes the
    // backup) happens before the timing.
    const FieldValue values[2] = {FieldValue::ofText("12345"), view.values[hp]};
    std::size_t turn = 0;
    const auto save = [&] {
        edit.shown = edit.edited;
        edit.edited[hp] = values[turn++ % 2];
        return editor.save({edit});
    };
    save();
    for (auto _ : state) {
        const WriteResult result = save();
        if (result.status != WriteResult::Status::Written) {
            state.SkipWithError(result.message.c_str());
            break;
        }
    }
}
BENCHMARK(BM_SaveUnit)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vorlan::bench
