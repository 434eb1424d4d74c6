#pragma once
// A whole table as a model: one row per entry, one column per field (a name code followed
// by its decoded text), built from the table definition alone. Cells show what the forms
// show (a choice's item, a name's text); an edited cell keeps its new value, marked, until
// it is written or dropped. Rows are never widgets, so thousands of entries cost nothing.
// What sorting and filtering read of every row (sort keys, filter texts) is made once and
// kept until the values it came from change.

#include <QAbstractTableModel>
#include <map>
#include <set>
#include <span>
#include <vector>

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
    // Every entry read again from the executable's bytes; unsaved edits stay when
    // `keepEdits` (an edit that now equals what is stored goes), else they are dropped.
    // A table read before keeps its rows (views keep their order, selection and place);
    // only its cells change.
    void load(std::span<const std::uint8_t> exe, bool keepEdits);

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
    // A cell as a refusal names it: "机体451 「移动力」 70000".
    QString describeCell(int row, int field) const;

    // What the filter matches in a row: its number, its label and its decoded names.
    const QString& filterText(int row) const;
    // Whether `left`'s cell of `column` sorts before `right`'s: numbers by value, before texts.
    bool lessThan(int left, int right, int column) const;

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
    const FieldValue& value(int row, int field) const;
    QString display(int row, int field) const;
    SortKey sortKey(int row, int column) const;
    // A cell's value changed: views are told, and its sort key and filter text go.
    void cellChanged(int row, int field);

    const TableDef& table_;
    NameSource& names_;
    std::vector<Column> columns_;
    std::vector<std::vector<FieldValue>> shown_;
    std::map<std::pair<int, int>, FieldValue> edits_;     // (row, field) → edited value
    std::set<std::pair<int, int>> refused_;               // (row, field)
    mutable std::vector<std::vector<SortKey>> sortKeys_;  // by column; empty until sorted
    mutable std::vector<QString> filterTexts_;            // by row; empty until filtered
};

}  // namespace vorlan
