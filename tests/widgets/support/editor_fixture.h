#pragma once
// A main window on a fresh demo executable with a data folder of its own, driven through
// its controls with scripted dialogs.

#include <QString>
#include <memory>

class QAbstractItemView;
class QWidget;

#include "app/main_window.h"
#include "fixtures/fixtures.h"
#include "widgets/support/scripted_dialogs.h"

namespace vorlan::test {

// A click on a list row's rectangle (scrolled into view first), in any window.
void clickRow(QAbstractItemView* view, int row);
// Types `text` into `w` key by key, any characters (an input method's commit, one each).
void typeKeys(QWidget* w, const QString& text);
// Drags `path` over the middle of `target` as a file manager does (its URL, also offered as
// plain text) and drops it there when the drag is taken. Returns whether it was taken.
bool dropFile(QWidget& target, const std::filesystem::path& path);

class EditorFixture {
public:
    // Opens the demo executable unless `open` is false.
    explicit EditorFixture(bool open = true);

    template <typename T>
    T* child(const QString& name) {
        return findChild<T>(name);
    }

    MainWindow& window() { return *window_; }

    // Driving the window as a user does. The window is shown for clicks to land.
    void showWindow();
    // A click on a list row's rectangle (scrolled into view first).
    void clickRow(const QString& list, int row);
    void clickTab(const QString& tabs, int index);
    // Opens a choice box's list and clicks item `row` in it.
    void chooseItem(const QString& combo, int row);
    void click(const QString& button);
    // Selects a text box's text and types over it, key by key (ASCII text).
    void type(const QString& box, const QString& text);
    ScriptedDialogs& dialogs() { return dialogs_; }
    std::filesystem::path exe() const { return dir_ / "SLKV_618.04"; }
    std::filesystem::path dataDir() const { return dir_ / "data"; }
    std::vector<std::uint8_t> bytes() const { return readFile(exe()); }

private:
    template <typename T>
    T* findChild(const QString& name);

    TempDir dir_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<MainWindow> window_;
};

template <typename T>
T* EditorFixture::findChild(const QString& name) {
    auto* c = window_->findChild<T*>(name);
    if (c == nullptr) {
        // On a page not shown yet: built as a click on its tab would.
        window_->buildAllPages();
        c = window_->findChild<T*>(name);
    }
    if (c == nullptr)
        qFatal("no control %s", qPrintable(name));
    return c;
}

}  // namespace vorlan::test
