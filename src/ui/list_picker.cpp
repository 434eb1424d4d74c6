#include "ui/list_picker.h"

#include <QEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace vorlan {

ListPicker::ListPicker(QListWidget* list) : QObject(list), list_(list) {
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

void ListPicker::restore(int row) {
    restoring_ = true;
    list_->setCurrentRow(row);
    if (row < 0)
        list_->clearSelection();
    restoring_ = false;
}

bool ListPicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::FocusIn) {
        // A list taking the focus makes its first row current without selecting it; nobody
        // picked that row, so it is not shown.
        restoring_ = true;
        static_cast<QObject*>(list_)->event(event);
        restoring_ = false;
        return true;
    }
    if (watched != list_ && event->type() == QEvent::MouseButtonPress)
        currentAtPress_ = list_->currentRow();
    return QObject::eventFilter(watched, event);
}

}  // namespace vorlan
