#include "toolkit/list_filter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "toolkit/entry_list_model.h"
#include "toolkit/entry_list_view.h"

namespace vorlan {

ListFilter::ListFilter(QLineEdit* box, EntryListView* list)
    : QObject(box),
      box_(box),
      list_(list),
      none_(new QLabel(QString::fromUtf8("没有匹配的条目"), list->viewport())) {
    box->setClearButtonEnabled(true);
    box->setMaximumWidth(QWIDGETSIZE_MAX);  // as wide as its list
    box->setPlaceholderText(QString::fromUtf8("筛选：编号、名称或游戏内名称"));
    box->installEventFilter(this);
    none_->setObjectName("NoMatch");
    // Greyed like a placeholder, in the list's own palette.
    QPalette grey = none_->palette();
    grey.setColor(QPalette::WindowText, list->palette().color(QPalette::PlaceholderText));
    none_->setPalette(grey);
    none_->move(6, 4);
    none_->adjustSize();
    none_->hide();
    connect(box, &QLineEdit::textChanged, this, &ListFilter::apply);
    // New labels show every row again; new game names may match otherwise.
    connect(list->entries(), &QAbstractItemModel::modelReset, this, &ListFilter::apply);
    connect(list->entries(), &QAbstractItemModel::dataChanged, this, [this] {
        if (!box_->text().trimmed().isEmpty())
            apply();
    });
}

void ListFilter::apply() {
    const QString text = box_->text().trimmed();
    const EntryListModel* entries = list_->entries();
    bool number = false;
    const int wanted = text.toInt(&number);
    int shown = 0;
    for (int row = 0; row < entries->rowCount(); ++row) {
        const bool match = text.isEmpty() || (number && wanted == row) ||
                           entries->label(row).contains(text, Qt::CaseInsensitive) ||
                           entries->gameName(row).contains(text, Qt::CaseInsensitive);
        list_->setRowHidden(row, !match);
        shown += match ? 1 : 0;
    }
    none_->setVisible(shown == 0 && entries->rowCount() > 0);
    const QModelIndex current = list_->currentIndex();
    if (current.isValid() && !list_->isRowHidden(current.row()))
        list_->scrollTo(current);
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
                const int shownRow = list_->shownRow();
                list_->setFocus(Qt::ShortcutFocusReason);
                if (shownRow < 0 || list_->isRowHidden(shownRow)) {
                    for (int row = 0; row < list_->entries()->rowCount(); ++row) {
                        if (!list_->isRowHidden(row)) {
                            list_->requestRow(row);
                            break;
                        }
                    }
                }
                return true;
            }
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vorlan
