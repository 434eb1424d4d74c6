#include "ui/entry_chooser.h"

#include <QComboBox>
#include <QEvent>
#include <QListWidget>
#include <QSignalBlocker>

namespace vorlan {

ListChooser::ListChooser(QListWidget* list) : EntryChooser(list), list_(list) {
    list->viewport()->installEventFilter(this);
    list->installEventFilter(this);
    connect(list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!restoring_ && row >= 0)
            emit picked(row);
    });
    connect(list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = list_->row(item);
        // A click on another row was reported when it became current.
        if (row == currentAtPress_ && row >= 0)
            emit picked(row);
    });
}

void ListChooser::restore(int row) {
    restoring_ = true;
    list_->setCurrentRow(row);
    if (row < 0)
        list_->clearSelection();
    restoring_ = false;
}

void ListChooser::setLabels(const QStringList& labels) {
    const QSignalBlocker block(list_);
    list_->clear();
    list_->addItems(labels);
}

QString ListChooser::label(int row) const {
    return row >= 0 && row < list_->count() ? list_->item(row)->text() : QString();
}

bool ListChooser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::FocusIn) {
        // A list taking the focus makes its first row current without selecting it; nobody
        // picked that row, so it is not shown.
        restoring_ = true;
        static_cast<QObject*>(list_)->event(event);
        if (list_->currentItem() != nullptr && !list_->currentItem()->isSelected())
            list_->selectionModel()->clearCurrentIndex();
        restoring_ = false;
        return true;
    }
    if (watched != list_ && event->type() == QEvent::MouseButtonPress)
        currentAtPress_ = list_->currentRow();
    return QObject::eventFilter(watched, event);
}

ComboChooser::ComboChooser(QComboBox* combo) : EntryChooser(combo), combo_(combo) {
    // `activated` comes with every choice of an item, also of the one already chosen.
    connect(combo, &QComboBox::activated, this, [this](int row) {
        if (row >= 0)
            emit picked(row);
    });
}

void ComboChooser::restore(int row) {
    const QSignalBlocker block(combo_);
    combo_->setCurrentIndex(row);
}

void ComboChooser::setLabels(const QStringList& labels) {
    const QSignalBlocker block(combo_);
    combo_->clear();
    combo_->addItems(labels);
    combo_->setCurrentIndex(-1);
}

QString ComboChooser::label(int row) const {
    return row >= 0 && row < combo_->count() ? combo_->itemText(row) : QString();
}

bool ComboChooser::shows(int row) const {
    return row >= 0 && combo_->currentText() == combo_->itemText(row);
}

}  // namespace vorlan
