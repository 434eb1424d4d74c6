#include "toolkit/entry_chooser.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "toolkit/entry_list_model.h"
#include "toolkit/entry_list_view.h"

namespace vorlan {

ListChooser::ListChooser(EntryListView* list) : EntryChooser(list), list_(list) {
    connect(list, &EntryListView::pickRequested, this, &EntryChooser::picked);
}

void ListChooser::restore(int row) {
    list_->showRow(row);
}

void ListChooser::setLabels(const QStringList& labels) {
    list_->entries()->setLabels(labels);
}

QString ListChooser::label(int row) const {
    return list_->entries()->label(row);
}

void ListChooser::setGameNames(std::function<QStringList()> read) {
    list_->entries()->setGameNames(std::move(read));
}

void ListChooser::gameNamesChanged() {
    list_->entries()->gameNamesChanged();
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
