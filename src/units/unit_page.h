#pragma once
// The "机体武器修改" page: the unit list with its filter, the four inner pages of one
// unit's header and weapon slot, the write button with its note line, and the copy,
// paste and patch buttons.
//
// Two forms (header, slot) remember what they showed, so a write sends only what the user
// changed, and unsaved edits are marked and never lost without a question. After a write,
// a paste, a patch, an undo or a change by another program the page shows the unit as it
// is now stored.

#include <QStringList>
#include <QWidget>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;

namespace vorlan {

class EditorContext;
class EntryEditor;
class EntryForm;
class ListFilter;
class ListPicker;
struct TablePatch;

class UnitPage : public QWidget {
    Q_OBJECT
public:
    explicit UnitPage(EditorContext& context, QWidget* parent = nullptr);
    ~UnitPage() override;

    // `showdata` and the rest of a unit selection: header, slot list, decoded name, offset.
    void showdata();
    // `showwp`: the selected weapon slot of the selected unit, and its decoded name.
    void showwp();
    // "写入": the header, and the weapon slot when one is selected. False when nothing
    // could be written (a refused value, a failed write).
    bool write();
    void copyUnit();
    void pasteUnit();
    void raiseUpgradeLimits();
    void allowFourChips();

private:
    QWidget* buildBasicPage();
    QWidget* buildWeaponPage();
    QWidget* buildOtherPage();
    QWidget* buildSkillPage();
    void connectActions();
    void executableOpened();
    void hint(const char* text);

    int selectedUnit() const;
    int selectedSlot() const;  // flat weapon index of the selected slot of the shown unit, or -1
    bool needUnit(const char* action);
    void unitPicked(int row);
    void slotPicked(int row);
    // Unsaved edits of the shown unit: asks "写入 / 放弃 / 取消". True when the page may
    // go on (written or discarded, or nothing to ask).
    bool resolveEdits(QWidget* parent, bool slotOnly = false);
    void updatePending();
    // Shows entry `index` in a form; a read failure is reported and gives false.
    bool showIn(EntryForm& form, int index);
    void showStepDigits();
    // Shows the selected unit (and slot) as stored now, keeping the selections.
    void refresh();
    void fileChanged(bool byOtherProgram);
    // Runs a whole-table patch on the executable, then shows the unit anew.
    void applyPatch(const TablePatch& patch);
    // The decoded in-game names of all units, for the filter; read when first needed.
    QString gameName(int unit);

    EditorContext& context_;
    QListWidget* list1_;
    QListWidget* list2_;
    QLineEdit* filter_;
    QTabWidget* tabs_;
    QLineEdit* text13_;
    QLineEdit* text37_;
    QLabel* label12_;
    EntryForm* header_ = nullptr;
    EntryForm* slot_ = nullptr;
    ListPicker* picker1_ = nullptr;
    ListPicker* picker2_ = nullptr;
    ListFilter* filterRows_ = nullptr;
    QStringList gameNames_;

    std::vector<std::uint8_t> copied_;  // the unit copy buffer: one whole record
    QString copiedName_;
};

}  // namespace vorlan
