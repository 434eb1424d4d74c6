#include "toolkit/entry_list_view.h"

#include <QMouseEvent>

#include "toolkit/entry_list_model.h"

namespace vorlan {

EntryListView::EntryListView(const QString& name, QWidget* parent)
    : QListView(parent), entries_(new EntryListModel(this)) {
    setObjectName(name);
    setModel(entries_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One row's height stands for all: no row is measured until it is shown.
    setUniformItemSizes(true);
    connect(entries_, &QAbstractItemModel::modelReset, this, [this] { shown_ = -1; });
}

void EntryListView::showRow(int row) {
    following_ = true;
    const QModelIndex at = entries_->index(row);
    if (at.isValid()) {
        selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
        scrollTo(at);
    } else {
        selectionModel()->clear();
    }
    following_ = false;
    shown_ = at.isValid() ? row : -1;
}

// The mouse only asks: the view's own press would select the row before anyone agreed.
void EntryListView::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid())
        emit pickRequested(at.row());
}

void EntryListView::mouseMoveEvent(QMouseEvent* event) {
    // No selecting by dragging; hovering stays.
    if (event->buttons() != Qt::NoButton) {
        event->accept();
        return;
    }
    QListView::mouseMoveEvent(event);
}

void EntryListView::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void EntryListView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The press before it already asked for the row.
    event->accept();
}

void EntryListView::keyPressEvent(QKeyEvent* event) {
    // The view moves as the key says; that move is taken back and asked for instead.
    inKey_ = true;
    keyRow_ = -1;
    QListView::keyPressEvent(event);
    inKey_ = false;
    if (keyRow_ >= 0) {
        const int row = keyRow_;
        showRow(shown_);
        emit pickRequested(row);
    }
}

void EntryListView::focusInEvent(QFocusEvent* event) {
    // Taking the focus makes the first row current; nobody picked it.
    following_ = true;
    QListView::focusInEvent(event);
    following_ = false;
    if (currentIndex().row() != shown_)
        showRow(shown_);
}

void EntryListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QListView::currentChanged(current, previous);
    if (following_ || !current.isValid())
        return;
    if (inKey_)
        keyRow_ = current.row();
    else
        emit pickRequested(current.row());
}

}  // namespace vorlan
