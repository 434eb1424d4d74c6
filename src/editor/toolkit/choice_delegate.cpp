#include "toolkit/choice_delegate.h"

#include <QAbstractProxyModel>
#include <QComboBox>

#include "toolkit/table_model.h"
#include "toolkit/text.h"

namespace vorlan {

ChoiceDelegate::ChoiceDelegate(const TableModel& model, NameSource& names, QObject* parent)
    : QStyledItemDelegate(parent), model_(model), names_(names) {}

const FieldDef* ChoiceDelegate::choiceField(const QModelIndex& index) const {
    if (model_.isDecoded(index.column()))
        return nullptr;
    const FieldDef& f =
        model_.table().fields[static_cast<std::size_t>(model_.fieldOf(index.column()))];
    return f.encoding->kind() == ValueKind::Choice ? &f : nullptr;
}

QWidget* ChoiceDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
    const FieldDef* f = choiceField(index);
    if (f == nullptr)
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* box = new QComboBox(parent);
    box->setObjectName("GridChoice");
    const std::vector<std::string>* items = &f->encoding->items();
    if (f->encoding->nameList() != NameList::None)
        items = names_.names(f->encoding->nameList());
    const int count = f->encoding->itemCount();
    for (int i = 0; i < count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        box->addItem(items != nullptr && k < items->size()
                         ? u((*items)[k])
                         : u("第") + QString::number(i) + u("项"));
    }
    return box;
}

void ChoiceDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* box = qobject_cast<QComboBox*>(editor); box != nullptr && choiceField(index))
        box->setCurrentIndex(index.data(Qt::EditRole).toInt());
    else
        QStyledItemDelegate::setEditorData(editor, index);
}

void ChoiceDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                  const QModelIndex& index) const {
    if (auto* box = qobject_cast<QComboBox*>(editor); box != nullptr && choiceField(index))
        model->setData(index, box->currentIndex(), Qt::EditRole);
    else
        QStyledItemDelegate::setModelData(editor, model, index);
}

}  // namespace vorlan
