#pragma once
// A secondary window: one table's entries (picked in List1) or its one block, shown in the
// grids its layout describes, with "保存", "返回", "表格" and the editor's "撤销" / "重做"
// (Ctrl+Z / Ctrl+Y). It is not modal; it reads and writes through the same record flow as the
// pages, so unsaved edits are marked and asked about, writes go into the undo history, and a
// write elsewhere to the bytes it shows appears here.

#include <QWidget>

namespace vorlan {

class EditorContext;
class RecordBrowser;
struct WindowGrid;
struct WindowLayout;

class TableWindow : public QWidget {
    Q_OBJECT
public:
    // `parent` is the main window: the window closes with it. The executable must be open.
    TableWindow(EditorContext& context, const WindowLayout& layout, QWidget* parent);

    // "返回": asks about unsaved edits, then closes the window (which forgets its state).
    void back();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildGrid(const WindowGrid& grid);

    EditorContext& context_;
    const WindowLayout& layout_;
    RecordBrowser* browser_ = nullptr;
    bool resolved_ = false;
};

}  // namespace vorlan
