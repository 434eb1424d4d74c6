// What a player does with the table grids, each timed from the call or key to the end of the
// work it starts, the repaint included, once per table: open the grid, click a header to sort
// it, type one key in its filter. Each must take under 16 ms beyond the cost of showing an
// empty window of the grid's size (BM_GridAction_EmptyWindow); the counter "beyond_window_ms"
// gives that difference. Sorting and filtering are timed on a grid just opened, so the sort
// keys and filter texts are made in the time measured, as on a player's first click.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <functional>
#include <memory>

#include "app/main_window.h"
#include "bench_demo.h"
#include "pages/table_grid_window.h"
#include "tables/catalog.h"
#include "toolkit/console_dialogs.h"

namespace vorlan::bench {
namespace {

void settle() {
    // Showing posts a layout request, which posts the paint: both are done before returning.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// The main window (offscreen) with the demo executable open.
struct Editor {
    test::DemoExe demo;
    ConsoleDialogs dialogs;
    MainWindow window{dialogs, dataDir()};

    Editor() {
        window.openExecutable(QString::fromStdString(demo.path().string()));
        window.show();
        settle();
    }
    TableGridWindow* open(const TableDef& table) {
        TableGridWindow* grid = TableGridWindow::open(window.context(), table, -1, &window);
        settle();
        return grid;
    }
    static void close(QWidget* grid) {
        grid->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

// What showing a window of the grid's size costs by itself, for the budget's baseline.
double emptyWindowMs() {
    static const double ms = [] {
        constexpr int kRounds = 20;
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < kRounds; ++i) {
            auto window = std::make_unique<QWidget>();
            window->resize(1000, 600);
            window->show();
            settle();
        }
        return static_cast<double>(clock.nsecsElapsed()) / 1e6 / kRounds;
    }();
    return ms;
}

void BM_GridAction_EmptyWindow(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<QWidget>();
        window->resize(1000, 600);
        state.ResumeTiming();
        window->show();
        settle();
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GridAction_EmptyWindow)->Unit(benchmark::kMillisecond);

using Act = std::function<void(TableGridWindow&)>;

// Opens the grid of `table` and closes it again, each round; with `act`, the opening is not
// timed, only `act` on the grid just opened. The counter is the mean time beyond an empty
// window's (for `act`, which shows no window, all of it).
void timeGrid(benchmark::State& state, const TableDef& table, const Act& act) {
    Editor editor;
    QElapsedTimer clock;
    qint64 spent = 0;
    for (auto _ : state) {
        TableGridWindow* grid = nullptr;
        if (act) {
            state.PauseTiming();
            grid = editor.open(table);
            state.ResumeTiming();
            clock.start();
            act(*grid);
            settle();
        } else {
            clock.start();
            grid = editor.open(table);
        }
        spent += clock.nsecsElapsed();
        state.PauseTiming();
        Editor::close(grid);
        state.ResumeTiming();
    }
    const double mean = static_cast<double>(spent) / 1e6 / static_cast<double>(state.iterations());
    state.counters["rows"] = table.count;
    state.counters["beyond_window_ms"] = act ? mean : mean - emptyWindowMs();
}

void openGrid(benchmark::State& state, const TableDef* table) {
    timeGrid(state, *table, {});
}

void sortGrid(benchmark::State& state, const TableDef* table) {
    // The last column: in the weapon and unit grids a name's decoded text, the dearest to sort.
    timeGrid(state, *table, [](TableGridWindow& grid) {
        QHeaderView* header = grid.findChild<QTableView*>("Grid")->horizontalHeader();
        const int column = header->count() - 1;
        header->setOffsetToSectionPosition(column);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
    });
}

void filterGrid(benchmark::State& state, const TableDef* table) {
    timeGrid(state, *table, [](TableGridWindow& grid) {
        auto* filter = grid.findChild<QLineEdit*>("GridFilter");
        filter->setFocus();
        QTest::keyClick(filter, Qt::Key_1);
    });
}

// One benchmark of each action per table, named after the table.
[[maybe_unused]] const bool registered = [] {
    for (const TableDef* table : allTables()) {
        const std::string name = table->name;
        benchmark::RegisterBenchmark(("BM_GridAction_Open/" + name).c_str(), openGrid, table)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_GridAction_Sort/" + name).c_str(), sortGrid, table)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_GridAction_FilterKey/" + name).c_str(), filterGrid, table)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
}  // namespace vorlan::bench
