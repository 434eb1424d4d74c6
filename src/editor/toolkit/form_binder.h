#pragma once
// Binds the controls of a page to the fields of a table by object name: a field whose
// control is "Text2" is shown in the child widget named "Text2". Text boxes carry text,
// combo boxes a choice, multi-select lists marks, icon toggles on/off. The binder fills
// the controls from shown values and collects the values they hold now, in the same form,
// so that unchanged controls give back exactly the values they were filled with.

#include <QStringList>
#include <vector>

#include "schema/field_value.h"
#include "schema/table_def.h"

class QWidget;

namespace vorlan {

class FormBinder {
public:
    // Finds every field's control under `root`; a missing control is a programming error.
    FormBinder(QWidget* root, const TableDef& table);

    void fill(const std::vector<FieldValue>& values);
    std::vector<FieldValue> collect() const;
    // Empties every control: no text, no choice, no marks, toggles off.
    void clear();
    // The control of field `i`.
    QWidget* control(std::size_t i) const { return controls_.at(i); }

private:
    const TableDef& table_;
    std::vector<QWidget*> controls_;
};

QStringList toStringList(const std::vector<std::string>& items);

}  // namespace vorlan
