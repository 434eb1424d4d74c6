#include "toolkit/table_proxy.h"

#include "toolkit/table_model.h"

namespace vorlan {

TableProxy::TableProxy(TableModel& model, QObject* parent)
    : QSortFilterProxyModel(parent), model_(model) {
    setDynamicSortFilter(false);
    setSourceModel(&model);
}

void TableProxy::setText(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed == text_)
        return;
    text_ = trimmed;
    invalidate();
}

void TableProxy::sort(int column, Qt::SortOrder order) {
    model_.dropSortKeys();
    QSortFilterProxyModel::sort(column, order);
}

bool TableProxy::shows(int entry) const {
    return mapFromSource(model_.index(entry, 0)).isValid();
}

bool TableProxy::filterAcceptsRow(int row, const QModelIndex&) const {
    return text_.isEmpty() || model_.filterText(row).contains(text_, Qt::CaseInsensitive);
}

bool TableProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    return model_.lessThan(left.row(), right.row(), left.column());
}

}  // namespace vorlan
