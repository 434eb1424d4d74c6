#pragma once
// One table definition bound to the controls of a page: shows an entry through the entry
// editor, remembers the values it showed, marks every control whose value now differs
// (unsaved edits), keeps each name's text box and its code box in step both ways (a code
// typed shows its characters, characters typed become their codes) with a note of what the
// code will store, and gives the edit for a save. Its boxes take input only while an entry
// is shown, and never for a read-only file. Pages and windows are layouts plus what is
// special to them.

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "document/entry_editor.h"
#include "schema/field_value.h"
#include "schema/table_def.h"

class QLineEdit;
class QWidget;

namespace vorlan {

class FormBinder;
class NoteLabel;
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
    // A read-only file: the boxes show values and take no input.
    void setReadOnly(bool readOnly);

    bool isDirty() const { return dirty_; }
    // The fields whose control now differs from the value shown.
    std::vector<int> changedFields() const;
    // Drops the unsaved edits: the controls show again the values last read.
    void revert();
    // The edit a save sends: the values shown and the values in the controls now.
    EntryEdit edit() const;
    // Shows refused fields: each is marked until its value changes; the inner page holding
    // the first comes forward and it takes the focus.
    void markRefused(const std::vector<int>& fields);
    // The text a field's control shows now, for messages.
    QString controlText(int field) const;
    // A field's control; null while its inner page is not built.
    QWidget* control(int field) const;
    // Takes in the controls of an inner page just built (a LazyTab under the root).
    void attach();
    // Builds every inner page not built yet.
    void buildAll();
    // The keys of the fields that no control shows, once every inner page is built (none
    // before). Such a field keeps the value read and is written back unchanged.
    std::vector<std::string> missingControls() const;

signals:
    void dirtyChanged(bool dirty);

private:
    // A name's code box, the box showing its characters, and the note beside them.
    struct NameBoxes {
        int field;
        QLineEdit* code;
        QLineEdit* text;
        NoteLabel* note;      // may be null
        QStringList missing;  // characters typed that have no code
        QString codeShown;    // the code the text box stands for
        bool stale = true;    // the text box must be decoded afresh
    };
    void update();
    void connectControl(std::size_t i);
    void fillNameList(std::size_t i);
    void findNameBoxes();
    // Warns once of the fields without a control when every inner page is built: a field
    // added to a definition but to no page yet is simply not shown.
    void checkComplete();
    bool allBuilt() const;
    // The text box and the note follow the code box (the text box not while typed in).
    void showName(NameBoxes& name);
    // Characters typed into a name's text box: their codes go into its code box.
    void typedName(NameBoxes& name, const QString& text);
    void applyInput();

    QWidget* root_;
    const TableDef& table_;
    NameSource& names_;
    std::unique_ptr<FormBinder> binder_;
    std::vector<QWidget*> controls_;
    std::vector<std::unique_ptr<NameBoxes>> nameBoxes_;
    std::vector<FieldValue> shownValues_;
    int shown_ = -1;
    bool dirty_ = false;
    bool filling_ = false;
    bool enabled_ = false;
    bool readOnly_ = false;
    bool checked_ = false;               // checkComplete has warned (or found every control)
    const NameBoxes* typing_ = nullptr;  // the name whose text box is being typed in
    // Every name's text box is decoded afresh from its code box at the next update.
    void namesStale();
    std::vector<std::pair<int, FieldValue>> refused_;  // marked field, its refused value
};

}  // namespace vorlan
