#pragma once
// The grid's view of a table model: the rows whose number, label or decoded names hold the
// filter text, in the order of the column last sorted by. Rows keep their places while cells
// are edited or written, as a spreadsheet's do: the values are sorted again only when a header
// is clicked (sort), so the row just typed in stays under the pointer, and a new filter text
// shows the rows it keeps in the order they had.

#include <QSortFilterProxyModel>

namespace vorlan {

class TableModel;

class TableProxy final : public QSortFilterProxyModel {
public:
    TableProxy(TableModel& model, QObject* parent);
    // The rows shown change at once, as one change of layout: thousands of rows hidden or
    // shown one run at a time would cost the views far more.
    void setText(const QString& text);
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    // Whether the row of `entry` passes the filter.
    bool shows(int entry) const;

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    TableModel& model_;
    QString text_;
};

}  // namespace vorlan
