// What a player does in the open editor, each timed from the click or key to the end of the
// work it starts, the repaint included: pick a unit, type a key in the unit filter, open the
// slowest table window, write a field, undo the write. Each must take under 16 ms.

#include <benchmark/benchmark.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/main_window.h"
#include "bench_demo.h"
#include "toolkit/console_dialogs.h"

namespace vorlan::bench {
namespace {

// The main window shown (offscreen) with the demo executable open and a unit picked.
struct Editor {
    test::DemoExe demo;
    ConsoleDialogs dialogs;
    MainWindow window{dialogs, dataDir()};

    Editor() {
        window.openExecutable(QString::fromStdString(demo.path().string()));
        window.buildAllPages();  // as if each tab had been looked at once
        window.show();
        settle();
        pick(5);
    }
    template <typename T>
    T* find(const char* name) {
        return window.findChild<T*>(name);
    }
    static void settle() { QCoreApplication::processEvents(); }
    void pick(int row) {
        auto* list = find<QAbstractItemView>("List1");
        const QRect at = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at.center());
        settle();
    }
    void type(const char* box, const QString& text) {
        auto* edit = find<QLineEdit>(box);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    void click(const char* button) {
        find<QPushButton>(button)->click();
        settle();
    }
};

void BM_Action_PickUnit(benchmark::State& state) {
    Editor editor;
    int row = 0;
    for (auto _ : state)
        editor.pick(6 + (row++ & 1));
}
BENCHMARK(BM_Action_PickUnit)->Unit(benchmark::kMillisecond);

void BM_Action_FilterKeystroke(benchmark::State& state) {
    Editor editor;
    auto* filter = editor.find<QLineEdit>("FilterUnits");
    filter->setFocus();
    int n = 0;
    for (auto _ : state) {
        QTest::keyClick(filter, (n++ & 1) != 0 ? Qt::Key_Backspace : Qt::Key_M);
        Editor::settle();
    }
}
BENCHMARK(BM_Action_FilterKeystroke)->Unit(benchmark::kMillisecond);

void BM_Action_OpenWindow(benchmark::State& state) {
    Editor editor;
    for (auto _ : state) {
        editor.click("Command25");  // 机师技能补正, the table window slowest to build
        state.PauseTiming();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w != &editor.window && w->isVisible())
                w->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Action_OpenWindow)->Unit(benchmark::kMillisecond);

// A write of one field, and its undo, timed apart: the value typed is not part of either.
void BM_Action_WriteAndUndo(benchmark::State& state) {
    Editor editor;
    const auto bytes = [&] { return test::readFile(editor.demo.path()); };
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto before = bytes();
        editor.type("Text2", QString::number(1000 + (n++ % 7)));
        state.ResumeTiming();
        editor.click("Command3");
        state.PauseTiming();
        if (bytes() == before) {
            state.SkipWithError("the write did not reach the file");
            break;
        }
        state.ResumeTiming();
        editor.click("UndoButton");
    }
}
BENCHMARK(BM_Action_WriteAndUndo)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorlan::bench
