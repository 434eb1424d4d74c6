#pragma once
// A whole table as a model: one row per entry, one column per field (a name code followed
// by its decoded text), built from the table definition alone. Cells show what the forms
// show (a choice's item, a name's text); an edited cell keeps its new value, marked, until
// it is written or dropped. Rows are never widgets, so thousands of entries cost nothing.

#include <QAbstractTableModel>
#include <map>
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
    // A key to sort by: numbers as numbers, the rest as text.
    static constexpr int SortRole = Qt::UserRole + 1;

    TableModel(const TableDef& table, NameSource& names, QObject* parent = nullptr);

    const TableDef& table() const { return table_; }
    // Every entry read again from the executable's bytes; unsaved edits stay when
    // `keepEdits` (an edit that now equals what is stored goes), else they are dropped.
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
    // A cell a write refused, marked until it changes.
    void markRefused(int row, int field);

    // What the filter matches in a row: its number, its label and its decoded names.
    QString filterText(int row) const;

signals:
    void editsChanged(bool any);
    // Text typed into a cell that cannot stand for a value of its field.
    void inputRefused(const QString& message);

private:
    struct Column {
        int field;
        bool decoded;
    };
    const FieldValue& value(int row, int field) const;
    QString display(int row, int field) const;

    const TableDef& table_;
    NameSource& names_;
    std::vector<Column> columns_;
    std::vector<std::vector<FieldValue>> shown_;
    std::map<std::pair<int, int>, FieldValue> edits_;  // (row, field) → edited value
    std::pair<int, int> refused_{-1, -1};
};

}  // namespace vorlan
