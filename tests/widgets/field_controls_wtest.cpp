// Controls made by field key: each is the control its definition names, of the kind its
// encoding wants, captioned as the definition says; an unknown key throws naming table and
// key. Every field of every table has a control on its page or window once everything is
// built; a field without one is only left out (and kept as read), never fatal.

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <map>
#include <set>

#include "pages/window_layouts.h"
#include "session/editor_context.h"
#include "tables/catalog.h"
#include "tables/pilot_table.h"
#include "tables/skill_training_table.h"
#include "tables/unit_table.h"
#include "toolkit/entry_form.h"
#include "toolkit/field_controls.h"
#include "widgets/support/editor_fixture.h"
#include "widgets/support/field_names.h"
#include "widgets/support/test_main.h"

using namespace vorlan;

namespace {

// The message of the std::logic_error `f` throws, or "" when it throws none.
template <typename F>
QString thrown(F&& f) {
    try {
        f();
    } catch (const std::logic_error& e) {
        return QString::fromStdString(e.what());
    }
    return {};
}

// Makes a control and drops it: only whether it throws matters.
void make(QWidget* made) {
    const std::unique_ptr<QWidget> dropped(made);
}

}  // namespace

class FieldControlsTest : public QObject {
    Q_OBJECT
private slots:
    void controlsFollowTheDefinition();
    void rowsCaptionTheirControls();
    void anUnknownKeyThrowsNamingTableAndKey();
    void everyFieldHasAControlOnItsPage();
    void aFieldWithoutControlIsLeftOutAndKept();
};

void FieldControlsTest::controlsFollowTheDefinition() {
    const struct {
        const TableDef* table;
        const char* key;
        int width;
        const char* kind;  // the control's class
        int items;         // items of a choice or a list
        int shownWidth;
    } cases[] = {
        {&unitTable(), "hp", 0, "QLineEdit", 0, 70},
        {&unitTable(), "step-en", 40, "QLineEdit", 0, 40},
        {&unitTable(), "size", 70, "QComboBox", 6, 70},
        {&unitTable(), "move-type", 0, "QComboBox", 9, 110},
        {&unitTable(), "code", 160, "QComboBox", 0, 160},  // a name list: filled later
        {&unitTable(), "skills2", 0, "QListWidget", 16, -1},
        {&pilotTable(), "melee", 50, "QLineEdit", 0, 50},
        {&pilotTable(), "skill6-lv9", 34, "QLineEdit", 0, 34},
        {&skillTrainingTable(), "type", 170, "QComboBox", 4, 170},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<QWidget> w(fieldControl(*c.table, c.key, c.width));
        const QByteArray what = QByteArray(c.table->name.c_str()) + " " + c.key;
        QVERIFY2(QString(w->metaObject()->className()) == c.kind, what);
        QCOMPARE(w->objectName(), test::fieldName(*c.table, c.key));
        if (auto* combo = qobject_cast<QComboBox*>(w.get())) {
            QVERIFY2(combo->count() == c.items && combo->currentIndex() == -1, what);
            QVERIFY2(combo->minimumWidth() == c.shownWidth, what);
        } else if (auto* list = qobject_cast<QListWidget*>(w.get())) {
            QVERIFY2(list->count() == c.items, what);
            QCOMPARE(list->selectionMode(), QAbstractItemView::MultiSelection);
        } else {
            QVERIFY2(w->minimumWidth() == c.shownWidth && w->maximumWidth() == c.shownWidth, what);
        }
    }
    // A name's characters and its note take the names the definition gives them.
    const std::unique_ptr<QWidget> text(decodedNameBox(pilotTable(), "surname", 140));
    const std::unique_ptr<QWidget> note(decodedNameNote(pilotTable(), "surname"));
    QCOMPARE(text->objectName(), test::decodedName(pilotTable(), "surname"));
    QCOMPARE(note->objectName(), text->objectName() + "Note");
}

void FieldControlsTest::rowsCaptionTheirControls() {
    QWidget page;
    auto* grid = new QGridLayout(&page);
    fieldRow(grid, 0, unitTable(), {"hp", {"size", 70}});
    fieldWideRow(grid, 1, weaponTable(), {"name", 260}, 3);
    const struct {
        int row, column;
        const TableDef* table;
        const char* key;
    } cells[] = {
        {0, 0, &unitTable(), "hp"}, {0, 2, &unitTable(), "size"}, {1, 0, &weaponTable(), "name"}};
    for (const auto& c : cells) {
        auto* label = qobject_cast<QLabel*>(grid->itemAtPosition(c.row, c.column)->widget());
        QWidget* control = grid->itemAtPosition(c.row, c.column + 1)->widget();
        QVERIFY(label != nullptr);
        QCOMPARE(label->text(), fieldCaption(*c.table, c.key));
        QCOMPARE(label->buddy(), control);
        QCOMPARE(control->objectName(), test::fieldName(*c.table, c.key));
    }
    QCOMPARE(grid->itemAtPosition(1, 1)->widget()->maximumWidth(), 260);
    int row = 0, column = 0, rows = 0, columns = 0;
    grid->getItemPosition(grid->indexOf(grid->itemAtPosition(1, 1)->widget()), &row, &column, &rows,
                          &columns);
    QCOMPARE(columns, 3);
}

void FieldControlsTest::anUnknownKeyThrowsNamingTableAndKey() {
    const QString expected = "table unit has no field hitpoints";
    QCOMPARE(thrown([] { fieldByKey(unitTable(), "hitpoints"); }), expected);
    QCOMPARE(thrown([] { make(fieldControl(unitTable(), "hitpoints")); }), expected);
    // Keys only: a control name is no key.
    QCOMPARE(thrown([] { fieldCaption(unitTable(), "Text2"); }),
             QString("table unit has no field Text2"));
    QCOMPARE(thrown([] { make(decodedNameNote(unitTable(), "hp")); }),
             QString("table unit shows no decoded name for field hp"));
    QVERIFY(thrown([] { make(fieldControl(unitTable(), "icon0")); }).contains("icon0"));
    // A row with a wrong key adds nothing at all.
    QWidget page;
    auto* grid = new QGridLayout(&page);
    QCOMPARE(thrown([grid] { fieldRow(grid, 0, unitTable(), {"hp", "hitpoints"}); }), expected);
    QCOMPARE(grid->count(), 0);
    QVERIFY(page.findChildren<QWidget*>().isEmpty());
}

void FieldControlsTest::everyFieldHasAControlOnItsPage() {
    test::EditorFixture f;
    f.showWindow();
    f.window().buildAllPages();
    f.clickTab("SSTab1", 3);
    for (const WindowLayout& layout : windowLayouts())
        f.click(QString::fromStdString(layout.button));
    std::set<std::string> shown;
    for (EntryForm* form : f.window().findChildren<EntryForm*>()) {
        form->buildAll();
        for (const std::string& key : form->missingControls()) {
            QFAIL(qPrintable("table " + QString::fromStdString(form->table().name) + ": field " +
                             QString::fromStdString(key) + " has no control"));
        }
        shown.insert(form->table().name);
    }
    for (const TableDef* table : allTables())
        QVERIFY2(shown.count(table->name) == 1, table->name.c_str());
}

void FieldControlsTest::aFieldWithoutControlIsLeftOutAndKept() {
    test::EditorFixture f;
    // A page showing two fields of the unit table and none of the others.
    QWidget page;
    auto* grid = new QGridLayout(&page);
    fieldRow(grid, 0, unitTable(), {"hp", "en"});
    // One warning for each field left out.
    for (const FieldDef& field : unitTable().fields) {
        if (field.key != "hp" && field.key != "en")
            QTest::ignoreMessage(
                QtWarningMsg,
                qPrintable("table unit: field " + QString::fromStdString(field.key) +
                           " has no control " + QString::fromStdString(field.control) +
                           " on its page; it is not shown"));
    }
    auto* form = new EntryForm(&page, unitTable(), f.window().context().session());
    const auto missing = form->missingControls();
    QCOMPARE(missing.size(), unitTable().fields.size() - 2);
    QVERIFY(std::count(missing.begin(), missing.end(), "hp") == 0);
    QVERIFY(std::count(missing.begin(), missing.end(), "move") == 1);
    // Shown and edited: the left-out fields keep what was read.
    form->show(*f.window().context().session().editor(&page), 5);
    test::field<QLineEdit>(&page, unitTable(), "hp")->setText("1234");
    const EntryEdit edit = form->edit();
    const int move = unitTable().fieldIndex("move");
    const int hp = unitTable().fieldIndex("hp");
    QVERIFY(edit.edited[static_cast<std::size_t>(move)] ==
            edit.shown[static_cast<std::size_t>(move)]);
    QVERIFY(!edit.shown[static_cast<std::size_t>(move)].text.empty());
    QCOMPARE(edit.edited[static_cast<std::size_t>(hp)].text, std::string("1234"));
    QVERIFY(form->changedFields() == std::vector<int>{hp});
}

VORLAN_WIDGET_TEST_MAIN(FieldControlsTest)
#include "field_controls_wtest.moc"
