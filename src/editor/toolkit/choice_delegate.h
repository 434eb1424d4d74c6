#pragma once
// Edits a grid cell of a choice field with a choice box of its items (a name list's names
// for unit, pilot and skill choices); other cells are edited as text.

#include <QStyledItemDelegate>

#include "schema/name_source.h"

namespace vorlan {

class TableModel;

class ChoiceDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    ChoiceDelegate(const TableModel& model, NameSource& names, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

private:
    const FieldDef* choiceField(const QModelIndex& index) const;

    const TableModel& model_;
    NameSource& names_;
};

}  // namespace vorlan
