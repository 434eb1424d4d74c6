// The entry lists and choice boxes as a user drives them: after "取消" in the unsaved-edits
// question, whether asked by a click, a key or the filter's Enter, the chooser stands on the
// entry the form shows; the lists show the names the game stores, kept up to date, and a
// filter that matches nothing says so.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QUndoStack>

#include "session/editor_context.h"
#include "tables/pilot_table.h"
#include "tables/skill_training_table.h"
#include "tables/unit_table.h"
#include "tables/upgrade_tables.h"
#include "tables/window_tables.h"
#include "toolkit/entry_list_model.h"
#include "toolkit/entry_list_view.h"
#include "toolkit/text.h"
#include "widgets/support/editor_fixture.h"
#include "widgets/support/field_names.h"
#include "widgets/support/test_main.h"

using namespace vorlan;
using test::decodedName;
using test::fieldName;
using test::pilotField;
using test::unitField;
using test::weaponField;
using Unsaved = Dialogs::Unsaved;

namespace {

struct Lists : test::EditorFixture {
    Lists() { showWindow(); }
    QLineEdit* box(QWidget* in, const QString& name) {
        auto* b = in->findChild<QLineEdit*>(name);
        if (b == nullptr)
            qFatal("no box %s", qPrintable(name));
        return b;
    }
    // Opens a "其他修改2" window (its page shown) and returns it.
    QWidget* openWindow(const char* button, const char* form) {
        click(button);
        QWidget* w = window().findChild<QWidget*>(form);
        if (w == nullptr || !QTest::qWaitForWindowExposed(w))
            qFatal("window %s not shown", form);
        return w;
    }
};

// The row a chooser stands on: a list's current row when it is the only one selected, a
// choice box's item when its text is that item's; -2 when they disagree.
int standsOn(QWidget* chooser) {
    if (auto* list = qobject_cast<QAbstractItemView*>(chooser)) {
        const int current = list->currentIndex().row();
        const auto selected = list->selectionModel()->selectedRows();
        const bool agree = selected.size() == (current >= 0 ? 1 : 0) &&
                           (selected.isEmpty() || selected.front().row() == current);
        return agree ? current : -2;
    }
    auto* combo = qobject_cast<QComboBox*>(chooser);
    return combo->currentText() == combo->itemText(combo->currentIndex()) ? combo->currentIndex()
                                                                          : -2;
}

void pick(Lists& f, QWidget* chooser, int row) {
    if (auto* list = qobject_cast<QAbstractItemView*>(chooser)) {
        test::clickRow(list, row);
        return;
    }
    f.chooseItem(chooser->objectName(), row);
}

}  // namespace

class EntryListsTest : public QObject {
    Q_OBJECT
private slots:
    void cancelKeepsTheChooserOnTheShownEntry();
    void listsShowTheGamesNamesUpToDate();
    void aFilterThatMatchesNothingSaysSo();
};

void EntryListsTest::cancelKeepsTheChooserOnTheShownEntry() {
    struct Case {
        const char* name;
        int tab;  // the main window's page
        const char* chooser;
        QString box;         // a box of the form, edited
        const char* filter;  // the chooser's filter box, or null
    };
    const Case cases[] = {
        {"units", 0, "List1", unitField("hp"), "FilterUnits"},
        {"pilots", 1, "List5", pilotField("sp"), "FilterPilots"},
        {"weapon slots", 0, "List2", weaponField("attack"), nullptr},
        {"a window's list", 3, "List1", fieldName(gutsTable(), "hp100-hit"), nullptr},
        {"skill training", 2, "Combo29", fieldName(skillTrainingTable(), "pp1"), nullptr},
        {"upgrade costs", 2, "Combo31", fieldName(upgradeCostTable(), "step1"), nullptr},
        {"weapon upgrades", 2, "Combo32", fieldName(upgradeIncrementTable(), "step1"), nullptr},
    };
    for (const Case& c : cases) {
        Lists f;
        f.clickTab("SSTab1", c.tab);
        QWidget* in = &f.window();
        if (c.tab == 3) {
            in = f.openWindow("Command23", "Form2");
        } else if (QString(c.chooser) == "List2") {
            f.clickRow("List1", 4);
            f.clickTab("SSTab2", 1);
        }
        auto* chooser = in->findChild<QWidget*>(c.chooser);
        QVERIFY2(chooser != nullptr, c.name);
        pick(f, chooser, 1);
        QCOMPARE(standsOn(chooser), 1);
        QLineEdit* edited = f.box(in, c.box);
        f.type(c.box, "123");  // an unsaved edit of entry 1
        const auto unchanged = [&](const char* how) {
            const QString where = QString("%1, %2").arg(c.name, how);
            QVERIFY2(standsOn(chooser) == 1, qPrintable(where));
            QVERIFY2(edited->text() == "123", qPrintable(where));
        };
        // A click on another entry, cancelled.
        f.dialogs().answerNextUnsaved(Unsaved::Cancel);
        pick(f, chooser, 2);
        unchanged("click");
        // A key, cancelled.
        f.dialogs().answerNextUnsaved(Unsaved::Cancel);
        chooser->setFocus();
        QTest::keyClick(chooser, Qt::Key_Down);
        unchanged("key");
        // The filter's Enter on a text that hides the shown entry, cancelled.
        if (c.filter != nullptr) {
            f.dialogs().answerNextUnsaved(Unsaved::Cancel);
            QLineEdit* filter = f.box(in, c.filter);
            filter->setFocus();
            // Only entry 3's label holds its label.
            filter->insert(static_cast<QAbstractItemView*>(chooser)
                               ->model()
                               ->index(3, 0)
                               .data(EntryListModel::LabelRole)
                               .toString());
            QTest::keyClick(filter, Qt::Key_Return);
            unchanged("filter");
            filter->clear();
        }
        QCOMPARE(f.dialogs().questions.size(), c.filter != nullptr ? 3 : 2);
        // "放弃" leaves the entry for the one asked for.
        f.dialogs().answerNextUnsaved(Unsaved::Discard);
        pick(f, chooser, 3);
        QVERIFY2(standsOn(chooser) == 3, c.name);
    }
}

void EntryListsTest::listsShowTheGamesNamesUpToDate() {
    Lists f;
    auto* units = f.child<EntryListView>("List1");
    const auto shownAs = [](QAbstractItemView* list, int row) {
        return list->model()->index(row, 0).data().toString();
    };
    f.clickRow("List1", 6);
    const QString code6 = f.child<QLineEdit>(unitField("name"))->text();
    const QString name6 = f.child<QLineEdit>(decodedName(unitTable(), "name"))->text();
    f.clickRow("List1", 5);
    const QString name5 = f.child<QLineEdit>(decodedName(unitTable(), "name"))->text();
    QVERIFY(!name5.isEmpty() && name5 != name6);
    QCOMPARE(shownAs(units, 5), units->entries()->label(5) + "  " + name5);
    // A write renames unit 5 in the list; an undo names it back.
    f.type(unitField("name"), code6);
    f.click("Command3");
    QCOMPARE(shownAs(units, 5), units->entries()->label(5) + "  " + name6);
    f.window().context().history().stack()->undo();
    QCOMPARE(shownAs(units, 5), units->entries()->label(5) + "  " + name5);

    // The weapon slots of the shown unit, and the pilots.
    f.clickTab("SSTab2", 1);
    f.clickRow("List2", 2);
    const QString weapon = f.child<QLineEdit>(decodedName(weaponTable(), "name"))->text();
    QVERIFY(!weapon.isEmpty());
    QCOMPARE(shownAs(f.child<QListView>("List2"), 2), u("武器3  ") + weapon);
    f.clickTab("SSTab1", 1);
    f.clickRow("List5", 7);
    QVERIFY(shownAs(f.child<QListView>("List5"), 7)
                .contains(f.child<QLineEdit>(decodedName(pilotTable(), "surname"))->text()));
}

void EntryListsTest::aFilterThatMatchesNothingSaysSo() {
    Lists f;
    auto* units = f.child<QListView>("List1");
    auto* none = units->findChild<QLabel*>("NoMatch");
    QVERIFY(none != nullptr && !none->isVisible());
    f.clickRow("List1", 9);
    const QString name = f.child<QLineEdit>(decodedName(unitTable(), "name"))->text();
    f.type("FilterUnits", "zzz");
    QVERIFY(none->isVisible());
    QCOMPARE(none->text(), u("没有匹配的条目"));
    for (int row = 0; row < units->model()->rowCount(); ++row)
        QVERIFY(units->isRowHidden(row));
    // The game's name of unit 9 finds it.
    f.child<QLineEdit>("FilterUnits")->setText(name);
    QVERIFY(!none->isVisible());
    QVERIFY(!units->isRowHidden(9));
}

VORLAN_WIDGET_TEST_MAIN(EntryListsTest)
#include "entry_lists_wtest.moc"
