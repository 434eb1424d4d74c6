#include "toolkit/table_model.h"

#include <QBrush>
#include <QColor>

#include "bulk/field_text.h"
#include "bulk/table_io.h"
#include "schema/value_text.h"
#include "toolkit/text.h"

namespace vorlan {

TableModel::TableModel(const TableDef& table, NameSource& names, QObject* parent)
    : QAbstractTableModel(parent), table_(table), names_(names) {
    for (std::size_t i = 0; i < table.fields.size(); ++i) {
        columns_.push_back({static_cast<int>(i), false});
        if (isNameCode(table.fields[i]))
            columns_.push_back({static_cast<int>(i), true});
    }
}

void TableModel::load(std::span<const std::uint8_t> exe, bool keepEdits) {
    beginResetModel();
    shown_.clear();
    shown_.reserve(static_cast<std::size_t>(table_.count));
    for (int i = 0; i < table_.count; ++i)
        shown_.push_back(entryValues(table_, exe, i));
    const bool had = hasEdits();
    if (!keepEdits)
        edits_.clear();
    // An edit back to what is stored now is none.
    std::erase_if(edits_, [this](const auto& e) {
        return e.second == shown_[static_cast<std::size_t>(e.first.first)]
                                 [static_cast<std::size_t>(e.first.second)];
    });
    refused_ = {-1, -1};
    endResetModel();
    if (had != hasEdits())
        emit editsChanged(hasEdits());
}

int TableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int TableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

int TableModel::columnOf(int field) const {
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        if (columns_[c].field == field && !columns_[c].decoded)
            return static_cast<int>(c);
    }
    return -1;
}

const FieldValue& TableModel::value(int row, int field) const {
    const auto found = edits_.find({row, field});
    return found != edits_.end()
               ? found->second
               : shown_[static_cast<std::size_t>(row)][static_cast<std::size_t>(field)];
}

QString TableModel::display(int row, int field) const {
    const FieldDef& f = table_.fields[static_cast<std::size_t>(field)];
    const FieldValue& v = value(row, field);
    if (f.encoding->kind() == ValueKind::Text)
        return u(v.text);
    return u(valueText(f, v, &names_));
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int row = index.row();
    const Column& column = columns_[static_cast<std::size_t>(index.column())];
    const FieldDef& f = table_.fields[static_cast<std::size_t>(column.field)];
    const bool edited = edits_.contains({row, column.field});
    switch (role) {
        case Qt::DisplayRole:
            return column.decoded ? u(decodedName(value(row, column.field), &names_))
                                  : display(row, column.field);
        case Qt::EditRole:
            if (f.encoding->kind() == ValueKind::Choice)
                return value(row, column.field).index;
            return u(fieldText(f, value(row, column.field)));
        case SortRole: {
            if (column.decoded)
                return data(index, Qt::DisplayRole);
            const std::string text = fieldText(f, value(row, column.field));
            bool number = false;
            const qlonglong n = QString::fromStdString(text).toLongLong(&number);
            return number && f.encoding->kind() != ValueKind::Marks ? QVariant(n)
                                                                    : QVariant(u(text));
        }
        case Qt::BackgroundRole:
            if (refused_ == std::pair(row, column.field))
                return QBrush(QColor(0xff, 0xd9, 0xd6));
            if (edited)
                return QBrush(QColor(0xff, 0xf4, 0xc2));
            return {};
        case Qt::ToolTipRole:
            if (column.decoded)
                return u("由名称代码解码的文字（只读；要改名称，请改左边的代码）");
            return u(f.encoding->accepted(f));
        default:
            return {};
    }
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || isDecoded(index.column()))
        return false;
    const int row = index.row();
    const int field = fieldOf(index.column());
    const FieldDef& f = table_.fields[static_cast<std::size_t>(field)];
    const FieldValue& stored =
        shown_[static_cast<std::size_t>(row)][static_cast<std::size_t>(field)];
    FieldValue next;
    if (f.encoding->kind() == ValueKind::Choice && value.typeId() == QMetaType::Int) {
        next = value.toInt() < 0 && stored.index < 0 ? stored : FieldValue::ofChoice(value.toInt());
    } else {
        const ParsedValue parsed =
            parseFieldText(f, value.toString().trimmed().toStdString(), stored, &names_);
        if (!parsed.value) {
            emit inputRefused(u(parsed.error));
            return false;
        }
        next = *parsed.value;
    }
    const bool had = hasEdits();
    if (next == stored)
        edits_.erase({row, field});
    else
        edits_[{row, field}] = next;
    if (refused_ == std::pair(row, field))
        refused_ = {-1, -1};
    const int first = columnOf(field);
    emit dataChanged(this->index(row, first), this->index(row, isNameCode(f) ? first + 1 : first));
    emit headerDataChanged(Qt::Vertical, row, row);
    if (had != hasEdits())
        emit editsChanged(hasEdits());
    return true;
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && !isDecoded(index.column()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole)
            return u(table_.label(section, &names_));
        return {};
    }
    const Column& column = columns_[static_cast<std::size_t>(section)];
    const FieldDef& f = table_.fields[static_cast<std::size_t>(column.field)];
    if (role == Qt::DisplayRole)
        return u(f.fullCaption()) + (column.decoded ? u("（文字）") : QString());
    if (role == Qt::ToolTipRole)
        return u(column.decoded ? textColumn(f) : f.key) + " · " + u(f.control);
    return {};
}

std::vector<EntryEdit> TableModel::edits() const {
    std::vector<EntryEdit> out;
    for (const auto& [cell, v] : edits_) {
        const int row = cell.first;
        if (out.empty() || out.back().index != row) {
            const auto& shown = shown_[static_cast<std::size_t>(row)];
            out.push_back({&table_, row, shown, shown});
        }
        out.back().edited[static_cast<std::size_t>(cell.second)] = v;
    }
    return out;
}

void TableModel::dropEdits() {
    if (edits_.empty())
        return;
    beginResetModel();
    edits_.clear();
    refused_ = {-1, -1};
    endResetModel();
    emit editsChanged(false);
}

void TableModel::markRefused(int row, int field) {
    refused_ = {row, field};
    const int column = columnOf(field);
    emit dataChanged(index(row, column), index(row, column));
}

QString TableModel::filterText(int row) const {
    QString text = QString::number(row) + ' ' + u(table_.label(row, &names_));
    for (const Column& c : columns_) {
        if (c.decoded)
            text += ' ' + u(decodedName(value(row, c.field), &names_));
    }
    return text;
}

}  // namespace vorlan
