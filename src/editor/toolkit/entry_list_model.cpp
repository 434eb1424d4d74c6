#include "toolkit/entry_list_model.h"

namespace vorlan {

void EntryListModel::setLabels(const QStringList& labels) {
    beginResetModel();
    labels_ = labels;
    names_.clear();
    namesRead_ = false;
    endResetModel();
}

void EntryListModel::setGameNames(ReadNames read) {
    read_ = std::move(read);
    gameNamesChanged();
}

void EntryListModel::gameNamesChanged() {
    names_.clear();
    namesRead_ = false;
    if (!labels_.isEmpty())
        emit dataChanged(index(0), index(static_cast<int>(labels_.size()) - 1));
}

QString EntryListModel::label(int row) const {
    return row >= 0 && row < labels_.size() ? labels_[row] : QString();
}

QString EntryListModel::gameName(int row) const {
    if (!namesRead_) {
        // Read once per change, also when it gives nothing: painting never retries a read.
        namesRead_ = true;
        names_ = read_ ? read_() : QStringList();
    }
    return row >= 0 && row < names_.size() ? names_[row] : QString();
}

int EntryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(labels_.size());
}

QVariant EntryListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= labels_.size())
        return {};
    const int row = index.row();
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole: {
            // A list that already holds the game's names shows each once.
            const QString name = gameName(row);
            return name.isEmpty() || name == labels_[row] ? labels_[row]
                                                          : labels_[row] + "  " + name;
        }
        case LabelRole:
            return labels_[row];
        default:
            return {};
    }
}

}  // namespace vorlan
