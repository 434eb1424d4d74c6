#pragma once
// A table's entries as a list model: row k is entry k, shown as its label (from the data
// folder's lists) followed by the name the game itself stores for it, decoded from the
// executable ("机体045  银翼王"), so the lists are usable with the shipped placeholder names.
// The game's names are read in one go when first asked for and again after they may have
// changed. Rows are never widgets: a list of hundreds of entries costs nothing at start.

#include <QAbstractListModel>
#include <QStringList>
#include <functional>

namespace vorlan {

class EntryListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // The label alone, without the game's name.
    static constexpr int LabelRole = Qt::UserRole + 1;

    using ReadNames = std::function<QStringList()>;

    explicit EntryListModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    void setLabels(const QStringList& labels);
    // Where the game's names come from: one per row, in row order; an empty list (no
    // executable, no character table, a failed read) shows the labels alone.
    void setGameNames(ReadNames read);
    // The game's names may have changed (a write, an undo, another program): read them again
    // when next asked for.
    void gameNamesChanged();

    QString label(int row) const;
    QString gameName(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QStringList labels_;
    ReadNames read_;
    mutable QStringList names_;
    mutable bool namesRead_ = false;
};

}  // namespace vorlan
