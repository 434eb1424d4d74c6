#pragma once
// One table definition bound to the controls of a page: shows an entry through the entry
// editor, remembers the values it showed, marks every control whose value now differs
// (unsaved edits), keeps decoded-name boxes in step with their name codes, and gives the
// edit for a save. Pages and windows are layouts plus what is special to them.

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

#include "document/entry_editor.h"
#include "schema/field_value.h"
#include "schema/table_def.h"

class QWidget;

namespace vorlan {

class FormBinder;
class NameSource;

class EntryForm : public QObject {
    Q_OBJECT
public:
    // Finds every field's control under `root` by object name.
    EntryForm(QWidget* root, const TableDef& table, NameSource& names);
    ~EntryForm() override;

    const TableDef& table() const { return table_; }
    int shownIndex() const { return shown_; }

    // Reads entry `index` and fills the controls. Throws DocumentError.
    void show(EntryEditor& editor, int index);
    // Fills the choice boxes whose items are a name list (unit, pilot, skill names) from
    // the lists now loaded; no item is chosen.
    void fillNameLists();
    // No entry shown: every control emptied; `enabled` says whether they take input.
    void clear(bool enabled);
    void setEnabled(bool enabled);

    bool isDirty() const { return dirty_; }
    // Drops the unsaved edits: the controls show again the values last read.
    void revert();
    // The edit a save sends: the values shown and the values in the controls now.
    EntryEdit edit() const;
    // Shows refused fields: each is marked until its value changes; the inner page holding
    // the first comes forward and it takes the focus.
    void markRefused(const std::vector<int>& fields);
    // The text a field's control shows now, for messages.
    QString controlText(int field) const;
    QWidget* control(int field) const;

signals:
    void dirtyChanged(bool dirty);

private:
    void update();
    void decodeNames();

    QWidget* root_;
    const TableDef& table_;
    NameSource& names_;
    std::unique_ptr<FormBinder> binder_;
    std::vector<QWidget*> controls_;
    std::vector<std::pair<int, QWidget*>> decodedBoxes_;  // name-code field, read-only box
    std::vector<FieldValue> shownValues_;
    int shown_ = -1;
    bool dirty_ = false;
    bool filling_ = false;
    std::vector<std::pair<int, FieldValue>> refused_;  // marked field, its refused value
};

}  // namespace vorlan
