#include "ui/list_filter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>

namespace vorlan {

ListFilter::ListFilter(QLineEdit* box, QListWidget* list, std::function<QString(int)> extra)
    : QObject(box), box_(box), list_(list), extra_(std::move(extra)) {
    box->setClearButtonEnabled(true);
    box->setMaximumWidth(QWIDGETSIZE_MAX);  // as wide as its list
    box->setPlaceholderText(QString::fromUtf8("筛选：编号、名称或游戏内名称"));
    box->installEventFilter(this);
    connect(box, &QLineEdit::textChanged, this, &ListFilter::apply);
}

void ListFilter::apply() {
    const QString text = box_->text().trimmed();
    for (int row = 0; row < list_->count(); ++row) {
        bool match = text.isEmpty();
        if (!match) {
            bool number = false;
            const int wanted = text.toInt(&number);
            match = (number && wanted == row) ||
                    list_->item(row)->text().contains(text, Qt::CaseInsensitive) ||
                    (extra_ && extra_(row).contains(text, Qt::CaseInsensitive));
        }
        list_->setRowHidden(row, !match);
    }
    if (list_->currentItem() != nullptr && !list_->currentItem()->isHidden())
        list_->scrollToItem(list_->currentItem());
}

bool ListFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == box_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                QApplication::sendEvent(list_, event);
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter: {
                QListWidgetItem* current = list_->currentItem();
                if (current == nullptr || current->isHidden()) {
                    for (int row = 0; row < list_->count(); ++row) {
                        if (!list_->isRowHidden(row)) {
                            list_->setCurrentRow(row);
                            break;
                        }
                    }
                }
                list_->setFocus(Qt::ShortcutFocusReason);
                return true;
            }
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vorlan
