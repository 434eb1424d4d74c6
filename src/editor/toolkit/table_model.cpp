#include "toolkit/table_model.h"

#include <QBrush>
#include <QColor>
#include <stdexcept>
#include <utility>

#include "bulk/field_text.h"
#include "bulk/table_io.h"
#include "schema/record_io.h"
#include "schema/value_text.h"
#include "text/char_table.h"
#include "toolkit/name_notes.h"
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

void TableModel::load(std::span<const std::uint8_t> bytes, bool keepEdits, std::uint64_t from) {
    const std::uint64_t first = table_.entryOffset(0);
    if (from > first || from + bytes.size() < table_.end())
        throw std::out_of_range("the bytes do not hold table " + table_.name);
    // Rows kept: a model reset would take the views' order, selection and place with it.
    const bool reset = rows_ != table_.count;
    if (reset)
        beginResetModel();
    const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(first - from);
    bytes_.bytes().assign(begin, begin + static_cast<std::ptrdiff_t>(table_.end() - first));
    rows_ = table_.count;
    shown_.assign(static_cast<std::size_t>(rows_), {});
    const bool had = hasEdits();
    if (!keepEdits)
        edits_.clear();
    // An edit back to what is stored now is none.
    std::erase_if(edits_, [this](const auto& e) {
        return e.second == stored(e.first.first)[static_cast<std::size_t>(e.first.second)];
    });
    refused_.clear();
    if (reset)
        sortKeys_.clear();  // other rows: the keys made of the old ones mean nothing
    filterTexts_.clear();
    if (reset) {
        endResetModel();
    } else if (rows_ > 0) {
        emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
        emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
    }
    if (had != hasEdits())
        emit editsChanged(hasEdits());
}

std::uint64_t TableModel::entryStart(int row) const {
    return table_.entryOffset(row) - table_.entryOffset(0);
}

int TableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
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

const std::vector<FieldValue>& TableModel::stored(int row) const {
    auto& values = shown_[static_cast<std::size_t>(row)];
    if (values.empty())
        values = readEntry(bytes_, table_, entryStart(row));
    return values;
}

FieldValue TableModel::peek(int row, int field) const {
    if (const auto found = edits_.find({row, field}); found != edits_.end())
        return found->second;
    if (const auto& values = shown_[static_cast<std::size_t>(row)]; !values.empty())
        return values[static_cast<std::size_t>(field)];
    return readField(bytes_, table_.fields[static_cast<std::size_t>(field)], entryStart(row));
}

const FieldValue& TableModel::value(int row, int field) const {
    const auto found = edits_.find({row, field});
    return found != edits_.end() ? found->second : stored(row)[static_cast<std::size_t>(field)];
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
            if (column.decoded)
                return u(decodedName(value(row, column.field), &names_));
            if (f.encoding->kind() == ValueKind::Choice)
                return value(row, column.field).index;
            return u(fieldText(f, value(row, column.field)));
        case Qt::BackgroundRole:
            if (refused_.contains({row, column.field}))
                return QBrush(QColor(0xff, 0xd9, 0xd6));
            if (edited)
                return QBrush(QColor(0xff, 0xf4, 0xc2));
            return {};
        case Qt::ToolTipRole: {
            const QString what = column.decoded
                                     ? u("名称的文字：输入的字会换成字码，写进左边的代码格")
                                     : u(f.encoding->accepted(f));
            const QString note = cellNote(row, index.column());
            return note.isEmpty() ? what : what + '\n' + note;
        }
        default:
            return {};
    }
}

QString TableModel::cellNote(int row, int column, bool* warn) const {
    const Column& c = columns_[static_cast<std::size_t>(column)];
    const FieldDef& f = table_.fields[static_cast<std::size_t>(c.field)];
    if (!isNameCode(f))
        return {};
    const NameNotes notes = nameNotes(f, u(value(row, c.field).text), names_.chars());
    if (warn != nullptr)
        *warn = !notes.notes.isEmpty();
    return u("「") + u(f.fullCaption()) + u("」") + notes.text();
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const int row = index.row();
    const int field = fieldOf(index.column());
    const FieldDef& f = table_.fields[static_cast<std::size_t>(field)];
    const FieldValue& stored = this->stored(row)[static_cast<std::size_t>(field)];
    QVariant given = value;
    if (isDecoded(index.column())) {
        // Characters typed for a name: their codes, or nothing when one has none.
        const CharTable* chars = names_.chars();
        if (chars == nullptr) {
            emit inputRefused(u("字码表尚未读入，不能按文字改名称。"));
            return false;
        }
        const TypedName typed = codesOfText(value.toString(), *chars);
        if (!typed.missing.isEmpty()) {
            emit inputRefused(u("没有改「") + u(f.fullCaption()) + u("」：") +
                              missingText(typed.missing) +
                              u("。请换用字码表中有的字，或在左边的代码格中直接填字码。"));
            return false;
        }
        given = typed.codes;
    }
    FieldValue next;
    if (f.encoding->kind() == ValueKind::Choice && given.typeId() == QMetaType::Int) {
        next = given.toInt() < 0 && stored.index < 0 ? stored : FieldValue::ofChoice(given.toInt());
    } else {
        const ParsedValue parsed =
            parseFieldText(f, given.toString().trimmed().toStdString(), stored, &names_);
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
    refused_.erase({row, field});
    cellChanged(row, field);
    emit headerDataChanged(Qt::Vertical, row, row);
    if (had != hasEdits())
        emit editsChanged(hasEdits());
    return true;
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid())
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
            const auto& shown = stored(row);
            out.push_back({&table_, row, shown, shown});
        }
        out.back().edited[static_cast<std::size_t>(cell.second)] = v;
    }
    return out;
}

void TableModel::dropEdits() {
    if (edits_.empty())
        return;
    const auto cells = std::exchange(edits_, {});
    refused_.clear();
    for (const auto& [cell, v] : cells)
        cellChanged(cell.first, cell.second);
    emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
    emit editsChanged(false);
}

void TableModel::markRefused(const std::vector<std::pair<int, int>>& cells) {
    refused_.insert(cells.begin(), cells.end());
    for (const auto& [row, field] : cells) {
        const int column = columnOf(field);
        emit dataChanged(index(row, column), index(row, column));
    }
}

QString TableModel::describeCell(int row, int field) const {
    const FieldDef& f = table_.fields[static_cast<std::size_t>(field)];
    return u(table_.label(row, &names_)) + u(" 「") + u(f.fullCaption()) + u("」 ") +
           u(fieldText(f, value(row, field)));
}

const QString& TableModel::filterText(int row) const {
    filterTexts_.resize(static_cast<std::size_t>(rows_));
    QString& text = filterTexts_[static_cast<std::size_t>(row)];
    if (text.isNull()) {
        text = QString::number(row) + ' ' + u(table_.label(row, &names_));
        for (const Column& c : columns_) {
            if (c.decoded)
                text += ' ' + u(decodedName(peek(row, c.field), &names_));
        }
    }
    return text;
}

TableModel::SortKey TableModel::sortKey(int row, int column) const {
    const Column& c = columns_[static_cast<std::size_t>(column)];
    const FieldValue v = peek(row, c.field);
    if (c.decoded)
        return {false, 0, u(decodedName(v, &names_))};
    const FieldDef& f = table_.fields[static_cast<std::size_t>(c.field)];
    const std::string text = fieldText(f, v);
    SortKey key;
    if (f.encoding->kind() != ValueKind::Marks)
        key.n = QString::fromStdString(text).toLongLong(&key.number);
    if (!key.number)
        key.text = u(text);
    return key;
}

bool TableModel::lessThan(int left, int right, int column) const {
    sortKeys_.resize(columns_.size());
    auto& keys = sortKeys_[static_cast<std::size_t>(column)];
    if (keys.empty()) {
        keys.reserve(static_cast<std::size_t>(rows_));
        for (int r = 0; r < rowCount(); ++r)
            keys.push_back(sortKey(r, column));
    }
    const SortKey& l = keys[static_cast<std::size_t>(left)];
    const SortKey& r = keys[static_cast<std::size_t>(right)];
    if (l.number != r.number)
        return l.number;
    return l.number ? l.n < r.n : l.text < r.text;
}

void TableModel::cellChanged(int row, int field) {
    const int first = columnOf(field);
    const bool named = isNameCode(table_.fields[static_cast<std::size_t>(field)]);
    emit dataChanged(index(row, first), index(row, named ? first + 1 : first));
    // The row's filter text is made again when next asked for; its sort keys stay, so a
    // re-sort keeps the row where it is.
    if (static_cast<std::size_t>(row) < filterTexts_.size())
        filterTexts_[static_cast<std::size_t>(row)] = QString();
}

}  // namespace vorlan
