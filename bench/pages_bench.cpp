// Building the editor's windows offscreen with the demo executable open: the whole main
// window (built and opened; and drawn once, as its first frame), then each page, frame and
// table window on its own, built and filled from the open file as opening one makes it.

#include <benchmark/benchmark.h>

#include <QPixmap>

#include "app/main_window.h"
#include "bench_demo.h"
#include "pages/disc_image_frame.h"
#include "pages/help_frame.h"
#include "pages/lookup_frame.h"
#include "pages/pilot_page.h"
#include "pages/skill_training_frame.h"
#include "pages/table_window.h"
#include "pages/unit_page.h"
#include "pages/upgrade_frame.h"
#include "pages/window_layouts.h"
#include "session/editor_context.h"
#include "toolkit/console_dialogs.h"

namespace vorlan::bench {
namespace {

void BM_MainWindow_Open(benchmark::State& state) {
    test::DemoExe demo;
    ConsoleDialogs dialogs;
    for (auto _ : state) {
        MainWindow window(dialogs, dataDir());
        if (!window.openExecutable(QString::fromStdString(demo.path().string()))) {
            state.SkipWithError("the demo executable did not open");
            break;
        }
    }
}
BENCHMARK(BM_MainWindow_Open)->Unit(benchmark::kMillisecond);

void BM_MainWindow_FirstFrame(benchmark::State& state) {
    test::DemoExe demo;
    ConsoleDialogs dialogs;
    for (auto _ : state) {
        MainWindow window(dialogs, dataDir());
        window.openExecutable(QString::fromStdString(demo.path().string()));
        benchmark::DoNotOptimize(window.grab());
    }
}
BENCHMARK(BM_MainWindow_FirstFrame)->Unit(benchmark::kMillisecond);

// An editor context with the demo executable open, for the parts built on their own.
struct OpenContext {
    test::DemoExe demo;
    ConsoleDialogs dialogs;
    EditorContext context{dialogs, dataDir()};
    OpenContext() {
        context.session().openExecutable(QString::fromStdString(demo.path().string()), nullptr);
    }
};

template <typename Part>
void BM_Part(benchmark::State& state) {
    OpenContext open;
    for (auto _ : state) {
        Part part(open.context);
        // What opening a file makes every page do: fill its lists and clear its controls.
        emit open.context.session().executableOpened();
    }
}
BENCHMARK(BM_Part<UnitPage>)->Name("BM_Page/UnitPage")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Part<PilotPage>)->Name("BM_Page/PilotPage")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Part<SkillTrainingFrame>)
    ->Name("BM_Page/SkillTrainingFrame")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Part<UpgradeFrame>)->Name("BM_Page/UpgradeFrame")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Part<DiscImageFrame>)->Name("BM_Page/DiscImageFrame")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Part<LookupFrame>)->Name("BM_Page/LookupFrame")->Unit(benchmark::kMillisecond);

void BM_HelpFrame(benchmark::State& state) {
    ConsoleDialogs dialogs;
    for (auto _ : state)
        HelpFrame frame(dialogs, dataDir());
}
BENCHMARK(BM_HelpFrame)->Name("BM_Page/HelpFrame")->Unit(benchmark::kMillisecond);

// One benchmark per table window of "其他修改2", named after its form.
const bool windowsRegistered = [] {
    for (const WindowLayout& layout : windowLayouts()) {
        benchmark::RegisterBenchmark(("BM_Window/" + layout.form).c_str(),
                                     [&layout](benchmark::State& state) {
                                         OpenContext open;
                                         for (auto _ : state)
                                             TableWindow window(open.context, layout, nullptr);
                                     })
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
}  // namespace vorlan::bench
