#pragma once
// The "机体武器修改" page: the unit list, the four inner pages of one unit's header and
// weapon slot, the write button with its note line, and the copy, paste and patch buttons.
//
// The page remembers what it showed, so a write sends only what the user changed; after a
// write, a paste or a patch it shows the unit as it is now stored.

#include <QWidget>
#include <memory>
#include <vector>

#include "access/field_value.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;

namespace vorlan {

class EditorContext;
class EntryEditor;
class FormBinder;
struct EntryView;
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
    // "写入": the header, and the weapon slot when one is selected.
    void write();
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
    bool readHeader(EntryEditor& editor);
    bool readSlot(EntryEditor& editor, int slot);
    // Puts the decoded names of an entry into their read-only boxes.
    void showDecoded(const EntryView& view);
    // Shows the selected unit (and slot) as stored now, keeping the selections.
    void refresh();
    // Runs a whole-table patch on the executable, then notes it and shows the unit anew.
    void applyPatch(const TablePatch& patch);

    EditorContext& context_;
    QListWidget* list1_;
    QListWidget* list2_;
    QTabWidget* tabs_;
    QLineEdit* text13_;
    QLineEdit* text37_;
    QLabel* label12_;
    std::unique_ptr<FormBinder> header_;
    std::unique_ptr<FormBinder> slot_;

    int shownUnit_ = -1;
    std::vector<FieldValue> shownHeader_;
    int shownSlot_ = -1;  // flat weapon index
    std::vector<FieldValue> shownSlotValues_;

    std::vector<std::uint8_t> copied_;  // the unit copy buffer: one whole record
    QString copiedName_;
};

}  // namespace vorlan
