#pragma once
// Binds the controls of a page to the fields of a table by object name: a field is shown in
// the child widget named as the field's control (field_controls.h makes them so). Text
// boxes carry text, combo boxes a choice, multi-select lists marks, icon toggles on/off. The
// binder fills the controls from shown values and collects the values they hold now, in the same
// form, so that unchanged controls give back exactly the values they were filled with. A control on
// an inner page not built yet holds its value in the binder until the page is built.

#include <QStringList>
#include <vector>

#include "schema/field_value.h"
#include "schema/table_def.h"

class QWidget;

namespace vorlan {

class FormBinder {
public:
    // Finds every field's control under `root` (the rest come with attach).
    FormBinder(QWidget* root, const TableDef& table);
    // Finds the controls built since under `root`; returns their fields. restore() gives
    // them the values they stand for.
    std::vector<std::size_t> attach(QWidget* root);
    void restore(const std::vector<std::size_t>& fields);
    // The keys of the fields whose control does not exist under `root` (yet, while an inner
    // page is not built).
    std::vector<std::string> missing() const;

    void fill(const std::vector<FieldValue>& values);
    std::vector<FieldValue> collect() const;
    // Empties every control: no text, no choice, no marks, toggles off.
    void clear();
    // The control of field `i`; null while its inner page is not built.
    QWidget* control(std::size_t i) const { return controls_.at(i); }

private:
    void fillControl(std::size_t i, const FieldValue& v);
    void clearControl(std::size_t i);

    const TableDef& table_;
    std::vector<QWidget*> controls_;
    std::vector<FieldValue> held_;  // the value of each control not built yet
    bool filled_ = false;           // the last call was fill (else clear)
};

QStringList toStringList(const std::vector<std::string>& items);

}  // namespace vorlan
