#pragma once
// "表格": a whole table in a grid, one row per entry and one column per field, over a model.
// Cells are edited in place (a choice with its items) and marked; "写入" writes every changed
// cell in one write and one undo step; the filter box matches number, label and decoded
// names; any column sorts. "导出…" and "导入…" move the whole table to and from CSV or JSON,
// the import shown as a preview first. One window per table, opened from the page or window
// that shows the table, on the entry shown there.

#include <QWidget>
#include <functional>
#include <span>

#include "document/entry_editor.h"
#include "schema/table_def.h"
#include "session/pending_edits.h"

class QLabel;
class QPushButton;
class QLineEdit;
class QTableView;

namespace vorlan {

class EditorContext;
class TableModel;
class TableProxy;

class TableGridWindow : public QWidget {
    Q_OBJECT
public:
    // The grid of `table` (made once, then brought forward), showing `entry` (-1: none).
    static TableGridWindow* open(EditorContext& context, const TableDef& table, int entry,
                                 QWidget* from);

    // A "表格" button that opens the grid of `table` on the entry `shown()` gives (-1: none).
    static QPushButton* opener(EditorContext& context, const TableDef& table,
                               std::function<int()> shown, const QString& name,
                               const QString& caption);

    TableGridWindow(EditorContext& context, const TableDef& table, QWidget* parent);

    void showEntry(int entry);
    // "写入": every edited cell in one write. False when nothing was written.
    bool write();
    void exportTable();
    void importTable();
    // Shows what importing `path` (CSV or JSON) would change, and writes it on "导入".
    void importFile(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void reload(bool keepEdits);
    // A refused write: one message naming every bad cell, each marked, the first shown.
    void refused(const std::vector<EntryEdit>& edits, const WriteResult& result);
    bool resolveEdits(QWidget* parent);
    std::vector<PendingRecord> pendingRecords() const;
    void updateCount();
    void showTitle();
    void useReadOnly();
    void fitColumns();
    std::vector<std::uint8_t> fileBytes();

    EditorContext& context_;
    const TableDef& table_;
    TableModel* model_;
    TableProxy* proxy_;
    QTableView* view_;
    QLineEdit* filter_;
    QLabel* count_;
    bool resolved_ = false;
};

}  // namespace vorlan
