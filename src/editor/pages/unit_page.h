#pragma once
// The "机体武器修改" page: the unit list with its filter, the four inner pages of one
// unit's header and weapon slot, the write button with its note line, and the copy,
// paste and patch buttons.
//
// Two forms (header, slot) remember what they showed, so a write sends only what the user
// changed, and unsaved edits are marked and never lost without a question. After a write,
// a paste, a patch, an undo or a change by another program the page shows the unit as it
// is now stored.

#include <QWidget>

class QLabel;
class QLineEdit;
class QTabWidget;

namespace vorlan {

class EditorContext;
class EntryForm;
class EntryListView;
class ListChooser;
class RecordBrowser;
struct TablePatch;

class UnitPage : public QWidget {
    Q_OBJECT
public:
    explicit UnitPage(EditorContext& context, QWidget* parent = nullptr);
    ~UnitPage() override;

private:
    QWidget* buildBasicPage();
    QWidget* buildWeaponPage();
    QWidget* buildOtherPage();
    QWidget* buildSkillPage();
    void connectActions();
    void hint(const char* text);
    // A unit was picked and shown: the slot list shows its slots with no slot picked.
    void unitShown();
    void showSlotNote(bool withSlot);
    // The names the game stores for the shown unit's slots.
    QStringList slotNames();
    // `showwp`: a slot of the shown unit, after its unsaved edits are resolved.
    void slotPicked(int row);
    void showStepDigits();
    // Runs a whole-table patch on the executable, then shows the unit anew.
    void applyPatch(const TablePatch& patch);

    EditorContext& context_;
    EntryListView* unitList_;
    EntryListView* slotList_;
    QLineEdit* filter_;
    QTabWidget* tabs_;
    QLineEdit* offsetBox_;  // the shown unit's file offset
    QLineEdit* stepsBox_;   // its four upgrade step digits
    QLabel* weaponNote_;    // whether a write takes the weapon slot too
    EntryForm* header_ = nullptr;
    EntryForm* slot_ = nullptr;
    RecordBrowser* browser_ = nullptr;
    ListChooser* slotPicker_ = nullptr;
};

}  // namespace vorlan
