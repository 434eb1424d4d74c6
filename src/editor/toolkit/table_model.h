#pragma once
// A whole table as a model: one row per entry, one column per field (a name code followed
// by its decoded text), built from the table definition alone. Cells show what the forms
// show (a choice's item, a name's text); an edited cell keeps its new value, marked, until
// it is written or dropped. Rows are never widgets, so thousands of entries cost nothing:
// the model keeps the table's bytes and reads an entry's values when a view first asks for
// them. Filtering reads only the fields it needs, once per row, and keeps each row's text
// until a value in it changes. Sorting reads a column's values once, when a header is
// clicked, and keeps them: sorted again (the filter changed), rows keep the order they had,
// however their cells have been edited or written since.

#include <QAbstractTableModel>
#include <map>
#include <set>
#include <span>
#include <vector>

#include "access/byte_store.h"
#include "document/entry_editor.h"
#include "schema/field_value.h"
#include "schema/name_source.h"
#include "schema/table_def.h"

namespace vorlan {

class TableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TableModel(const TableDef& table, NameSource& names, QObject* parent = nullptr);

    const TableDef& table() const { return table_; }
    // Every entry read again from the executable's bytes (`bytes` starting at file offset
    // `from`, reaching past the table's end); unsaved edits stay when `keepEdits` (an edit
    // that now equals what is stored goes), else they are dropped. A table read before keeps
    // its rows (views keep their order, selection and place); only its cells change.
    void load(std::span<const std::uint8_t> bytes, bool keepEdits, std::uint64_t from = 0);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The field a column shows, and whether it is the decoded text of a name code.
    int fieldOf(int column) const { return columns_[static_cast<std::size_t>(column)].field; }
    bool isDecoded(int column) const { return columns_[static_cast<std::size_t>(column)].decoded; }
    int columnOf(int field) const;

    bool hasEdits() const { return !edits_.empty(); }
    std::size_t editedCells() const { return edits_.size(); }
    // One entry edit per edited row, for one save of all of them.
    std::vector<EntryEdit> edits() const;
    void dropEdits();
    // The cells a write refused, (row, field) each, marked until they change.
    void markRefused(const std::vector<std::pair<int, int>>& cells);
    // What a name code's cell will store, said before it is written ("「武器名称」12 / 40 字节：
    // 1 个字码没有对应的字：FFFF"); empty for other cells. `warn`: whether it says more than the
    // bytes taken.
    QString cellNote(int row, int column, bool* warn = nullptr) const;
    // A cell as a refusal names it: "机体451 「移动力」 70000".
    QString describeCell(int row, int field) const;

    // What the filter matches in a row: its number, its label and its decoded names.
    const QString& filterText(int row) const;
    // Whether `left`'s cell of `column` sorted before `right`'s when the column was last
    // sorted: numbers by value, before texts.
    bool lessThan(int left, int right, int column) const;
    // A header was clicked: every column is sorted by the values it holds now.
    void dropSortKeys() { sortKeys_.clear(); }

signals:
    void editsChanged(bool any);
    // Text typed into a cell that cannot stand for a value of its field.
    void inputRefused(const QString& message);

private:
    struct Column {
        int field;
        bool decoded;
    };
    struct SortKey {
        bool number = false;
        qlonglong n = 0;
        QString text;
    };
    // Where entry `row` starts in bytes_.
    std::uint64_t entryStart(int row) const;
    // An entry's stored values, read when first asked for.
    const std::vector<FieldValue>& stored(int row) const;
    // A cell's value (edited, else stored) without reading the rest of its entry.
    FieldValue peek(int row, int field) const;
    const FieldValue& value(int row, int field) const;
    QString display(int row, int field) const;
    SortKey sortKey(int row, int column) const;
    // A cell's value changed: views are told, and its row's filter text goes.
    void cellChanged(int row, int field);

    const TableDef& table_;
    NameSource& names_;
    std::vector<Column> columns_;
    mutable ByteStore bytes_;  // the table's bytes, from its first entry on
    int rows_ = 0;             // 0 until loaded
    mutable std::vector<std::vector<FieldValue>> shown_;  // by row; empty until read
    std::map<std::pair<int, int>, FieldValue> edits_;     // (row, field) → edited value
    std::set<std::pair<int, int>> refused_;               // (row, field)
    mutable std::vector<std::vector<SortKey>> sortKeys_;  // by column; made at a header click
    mutable std::vector<QString> filterTexts_;            // by row; empty until filtered
};

}  // namespace vorlan
