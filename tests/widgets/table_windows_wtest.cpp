// The six secondary windows driven as a user does: each opens once, starts empty (list
// windows) or showing its block, writes exactly the edited bytes, undoes and redoes with the
// editor's keys and its own buttons, asks on "返回" when edits are pending, and shows a write
// made by another editor to the same bytes. Each fits the screen with its buttons in view, its
// captions stand over their columns, and a file dropped on it edits nothing.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "session/editor_context.h"
#include "tables/unit_table.h"
#include "tables/upgrade_tables.h"
#include "tables/window_tables.h"
#include "toolkit/startup.h"
#include "toolkit/text.h"
#include "widgets/support/editor_fixture.h"
#include "widgets/support/field_names.h"
#include "widgets/support/test_main.h"

using namespace vorlan;
using Bytes = std::vector<std::uint8_t>;
using test::differences;
using test::fieldName;
using test::unitField;
using test::weaponField;
using Unsaved = Dialogs::Unsaved;

namespace {

struct Windows : test::EditorFixture {
    Windows() {
        showWindow();
        clickTab("SSTab1", 3);
    }
    // Clicks a "其他修改2" button and returns the window it shows.
    QWidget* open(const char* button, const char* form) {
        click(button);
        QWidget* w = window().findChild<QWidget*>(form);
        if (w == nullptr || !QTest::qWaitForWindowExposed(w))
            qFatal("window %s not shown", form);
        return w;
    }
    static QLineEdit* box(QWidget* w, const QString& name) {
        auto* b = w->findChild<QLineEdit*>(name);
        if (b == nullptr)
            qFatal("no box %s", qPrintable(name));
        return b;
    }
    static void clickRow(QWidget* w, int row) {
        test::clickRow(w->findChild<QListView*>("List1"), row);
    }
    static void typeIn(QWidget* w, const QString& name, const QString& text) {
        QLineEdit* e = box(w, name);
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, text);
    }
    static void press(QWidget* w, const char* name) {
        QTest::mouseClick(w->findChild<QPushButton*>(name), Qt::LeftButton);
    }
    int visibleWindows(const char* form) {
        int n = 0;
        for (QWidget* top : QApplication::topLevelWidgets())
            n += top->objectName() == form && top->isVisible() ? 1 : 0;
        return n;
    }
};

}  // namespace

class TableWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void eachWindowOpensOnceAndStartsEmpty();
    void aListWindowWritesOnlyTheEditedByte();
    void aBlockWindowShowsAndWritesItsBlock();
    void undoKeysWorkInTheWindow();
    void backOrEscapeWithPendingEditsAsks();
    void aWriteElsewhereShowsInTheWindow();
    void windowsOpenInsideTheScreenAsOrdinaryWindows();
    void everyWindowFitsTheScreenWithItsButtonsInView();
    void captionsStandOverTheirColumns();
    void aFileDroppedOnAWindowIsNoEdit();
    void quittingBringsAWindowWithEditsForward();
    void undoButtonsNameTheirStepAndTheWindowSaysItsResult();
    void marksChangeColourOnly();
    void aFilterNarrowsTheSpiritList();
};

void TableWindowsTest::eachWindowOpensOnceAndStartsEmpty() {
    Windows t;
    QWidget* guts = t.open("Command23", "Form2");
    QCOMPARE(guts->windowTitle(), u("底力补正"));
    auto* list = guts->findChild<QListView*>("List1");
    QCOMPARE(list->model()->rowCount(), 9);
    QCOMPARE(list->model()->index(8, 0).data().toString(), QString("L9"));
    QCOMPARE(list->currentIndex().row(), -1);
    QVERIFY(Windows::box(guts, fieldName(gutsTable(), "hp100-hit"))->text().isEmpty());
    Windows::typeIn(guts, fieldName(gutsTable(), "hp100-hit"),
                    "");  // no entry: typing does not count as an edit
    t.clickTab("SSTab1", 3);
    QCOMPARE(t.open("Command23", "Form2"), guts);  // a second click only brings it forward
    QCOMPARE(t.visibleWindows("Form2"), 1);
    const struct {
        const char* button;
        const char* form;
        const TableDef* table;
        const char* first;  // the key of its first box
    } lists[] = {{"Command24", "Form3", &barrierTable(), "en-cost"},
                 {"Command26", "Form5", &partTable(), "move"},
                 {"Command28", "Form7", &spiritTable(), "spirit1-level"}};
    for (const auto& l : lists) {
        QWidget* w = t.open(l.button, l.form);
        QCOMPARE(w->findChild<QListView*>("List1")->currentIndex().row(), -1);
        QVERIFY(test::field<QLineEdit>(w, *l.table, l.first)->text().isEmpty());
    }
    QCOMPARE(
        test::field<QComboBox>(t.open("Command28", "Form7"), spiritTable(), "spirit1")->count(),
        31);
}

void TableWindowsTest::aListWindowWritesOnlyTheEditedByte() {
    Windows t;
    QWidget* guts = t.open("Command23", "Form2");
    Windows::clickRow(guts, 8);  // L9
    const Bytes before = t.bytes();
    QCOMPARE(Windows::box(guts, fieldName(gutsTable(), "hp10-critical"))->text(),
             QString::number(before[0x2DE8EF]));
    Windows::typeIn(guts, fieldName(gutsTable(), "hp90-evasion"), "200");
    Windows::press(guts, "save");
    const auto changed = differences(before, t.bytes());
    QCOMPARE(changed.size(), std::size_t{1});
    QCOMPARE(changed[0], std::size_t{0x2DE8C8 + 5});
    QCOMPARE(t.bytes()[0x2DE8C8 + 5], std::uint8_t{200});
    // A value out of range is refused and nothing is written.
    Windows::typeIn(guts, fieldName(gutsTable(), "hp90-armor"), "256");
    Windows::press(guts, "save");
    QVERIFY(t.dialogs().lastMessage().contains(u("0 到 255")));
    QCOMPARE(t.bytes()[0x2DE8C8 + 6], before[0x2DE8C8 + 6]);

    // The barrier type is one byte: offset 13 is left as it was.
    QWidget* barriers = t.open("Command24", "Form3");
    Windows::clickRow(barriers, 12);
    auto* type = test::field<QComboBox>(barriers, barrierTable(), "type");
    type->setFocus();
    QTest::keyClick(type, Qt::Key_Down);
    QTest::keyClick(type, Qt::Key_Up);
    QTest::keyClick(type, type->currentIndex() == 0 ? Qt::Key_Down : Qt::Key_Up);
    const Bytes mid = t.bytes();
    Windows::press(barriers, "save");
    QCOMPARE(differences(mid, t.bytes()), std::vector<std::size_t>{0x2DA970 + 12});
}

void TableWindowsTest::aBlockWindowShowsAndWritesItsBlock() {
    Windows t;
    const Bytes before = t.bytes();
    QWidget* skills = t.open("Command25", "Form4");
    QCOMPARE(Windows::box(skills, fieldName(skillCorrectionTable(), "psychokinesis-l9-2"))->text(),
             QString::number(before[0x2DE963]));
    QCOMPARE(Windows::box(skills, fieldName(skillCorrectionTable(), "antibody-l9-8"))->text(),
             QString::number(before[0x2DEA1F]));
    Windows::press(skills, "save");  // unchanged: nothing written
    QCOMPARE(t.bytes(), before);
    Windows::typeIn(skills, fieldName(skillCorrectionTable(), "psychic-l1-1"), "77");
    Windows::press(skills, "save");
    QCOMPARE(differences(before, t.bytes()), std::vector<std::size_t>{0x2DE974});
}

void TableWindowsTest::undoKeysWorkInTheWindow() {
    Windows t;
    QWidget* guts = t.open("Command23", "Form2");
    Windows::clickRow(guts, 2);
    const Bytes before = t.bytes();
    const QString old = Windows::box(guts, fieldName(gutsTable(), "hp90-hit"))->text();
    Windows::typeIn(guts, fieldName(gutsTable(), "hp90-hit"), "123");
    Windows::press(guts, "save");
    const Bytes written = t.bytes();
    QVERIFY(written != before);
    QVERIFY(QTest::qWaitForWindowActive(guts));
    // The keys reach the editor's history from the box just written: it has no typing left.
    QTest::keyClick(Windows::box(guts, fieldName(gutsTable(), "hp90-hit")), Qt::Key_Z,
                    Qt::ControlModifier);
    QCOMPARE(t.bytes(), before);
    QCOMPARE(Windows::box(guts, fieldName(gutsTable(), "hp90-hit"))->text(), old);
    QTest::keyClick(guts->findChild<QListView*>("List1"), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(t.bytes(), written);
    QCOMPARE(Windows::box(guts, fieldName(gutsTable(), "hp90-hit"))->text(), QString("123"));
    // And its 撤销 / 重做, enabled as the history stands.
    auto* undo = guts->findChild<QPushButton*>("TableUndo");
    auto* redo = guts->findChild<QPushButton*>("TableRedo");
    QVERIFY(undo->isEnabled() && !redo->isEnabled());
    QTest::mouseClick(undo, Qt::LeftButton);
    QCOMPARE(t.bytes(), before);
    QCOMPARE(Windows::box(guts, fieldName(gutsTable(), "hp90-hit"))->text(), old);
    QVERIFY(redo->isEnabled());
    QTest::mouseClick(redo, Qt::LeftButton);
    QCOMPARE(t.bytes(), written);
}

void TableWindowsTest::backOrEscapeWithPendingEditsAsks() {
    Windows t;
    QWidget* parts = t.open("Command26", "Form5");
    Windows::clickRow(parts, 0);
    Windows::typeIn(parts, fieldName(partTable(), "hp"), "500");
    // Esc is "返回": it asks the same, and "取消" keeps the window with its edit.
    QVERIFY(QTest::qWaitForWindowActive(parts));
    t.dialogs().answerNextUnsaved(Unsaved::Cancel);
    QTest::keyClick(Windows::box(parts, fieldName(partTable(), "hp")), Qt::Key_Escape);
    QCOMPARE(t.dialogs().questions.size(), 1);
    QCOMPARE(t.visibleWindows("Form5"), 1);
    QCOMPARE(Windows::box(parts, fieldName(partTable(), "hp"))->text(), QString("500"));
    t.dialogs().answerNextUnsaved(Unsaved::Write);
    Windows::press(parts, "open");
    QTest::qWait(20);
    QCOMPARE(t.visibleWindows("Form5"), 0);
    const std::size_t hp = partTable().entryOffset(0) + 2;
    QCOMPARE(t.bytes()[hp], std::uint8_t{0xF4});
    QCOMPARE(t.bytes()[hp + 1], std::uint8_t{0x01});
    // Opened again, it starts afresh.
    parts = t.open("Command26", "Form5");
    QCOMPARE(parts->findChild<QListView*>("List1")->currentIndex().row(), -1);
    QVERIFY(Windows::box(parts, fieldName(partTable(), "hp"))->text().isEmpty());
}

void TableWindowsTest::aWriteElsewhereShowsInTheWindow() {
    Windows t;
    QWidget* upgrades = t.open("Command27", "Form6");
    // The increments of "其他修改" are the window's attack half.
    t.clickTab("SSTab1", 2);
    t.chooseItem("Combo32", 0);
    t.type(fieldName(upgradeIncrementTable(), "step1"), "777");
    t.click("Command22");
    QCOMPARE(Windows::box(upgrades, fieldName(weaponUpgradeTable(), "attack1-1"))->text(),
             QString("777"));
    // With its own edit pending on those bytes, the window asks before overwriting them.
    Windows::typeIn(upgrades, fieldName(weaponUpgradeTable(), "attack1-1"), "555");
    t.type(fieldName(upgradeIncrementTable(), "step1"), "888");
    t.click("Command22");
    QCOMPARE(Windows::box(upgrades, fieldName(weaponUpgradeTable(), "attack1-1"))->text(),
             QString("555"));
    t.dialogs().answerNextQuestion(false);
    Windows::press(upgrades, "save");
    QVERIFY(t.dialogs().questions.last().contains(u("另一处")));
    QCOMPARE(t.bytes()[upgradeIncrementTable().entryOffset(0)], std::uint8_t{888 & 0xFF});
}

void TableWindowsTest::windowsOpenInsideTheScreenAsOrdinaryWindows() {
    Windows t;
    // The main window near the bottom right corner of the screen.
    const QRect area = t.window().screen()->availableGeometry();
    t.window().move(area.right() - 150, area.bottom() - 120);
    QWidget* parts = t.open("Command26", "Form5");
    t.click("Command23");
    QWidget* guts = t.window().findChild<QWidget*>("Form2");
    Windows::press(guts, "GridButton");
    QWidget* grid = t.window().findChild<QWidget*>("Grid_guts");
    QVERIFY(grid != nullptr && QTest::qWaitForWindowExposed(grid));
    for (QWidget* w : {parts, guts, grid}) {
        QVERIFY2(area.contains(w->frameGeometry()), qPrintable(w->objectName()));
        // Owned by the main window (it closes with it), yet an ordinary window that the window
        // manager does not keep above the main one; not modal.
        QCOMPARE(w->parentWidget(), &t.window());
        QCOMPARE(w->windowType(), Qt::Window);
        QVERIFY(w->windowHandle() != nullptr && w->windowHandle()->transientParent() == nullptr);
        QVERIFY(!w->isModal());
    }
}

void TableWindowsTest::everyWindowFitsTheScreenWithItsButtonsInView() {
    Windows t;
    const QRect area = t.window().screen()->availableGeometry();
    for (const auto& [button, form] : {std::pair{"Command23", "Form2"},
                                       {"Command24", "Form3"},
                                       {"Command25", "Form4"},
                                       {"Command26", "Form5"},
                                       {"Command27", "Form6"},
                                       {"Command28", "Form7"}}) {
        QWidget* w = t.open(button, form);
        QVERIFY2(area.contains(w->frameGeometry()), form);
        // Made smaller by the user, its boxes scroll and its buttons stay in the window.
        w->resize(420, 300);
        QTRY_VERIFY2(w->width() <= 420 && w->height() <= 300, form);
        for (const char* name : {"save", "open", "GridButton"}) {
            auto* b = w->findChild<QPushButton*>(name);
            QVERIFY2(w->rect().contains(QRect(b->mapTo(w, QPoint()), b->size())), name);
        }
        w->close();
    }
}

void TableWindowsTest::captionsStandOverTheirColumns() {
    Windows t;
    QWidget* skills = t.open("Command25", "Form4");
    // The first box of each of a skill's first columns, and the caption above it: the nearest
    // label whose middle is over the box. Three captions for four columns, four for eight.
    const struct {
        std::string skill;
        QStringList captions;
    } tables[] = {{"newtype", {u("命中"), u("回避"), u("射程")}},
                  {"psychic", {u("命中"), u("回避"), u("必杀")}},
                  {"antibody", {u("命中"), u("回避"), u("射程"), u("攻撃力")}}};
    const auto within = [skills](QWidget* w) {
        return QRect(w->mapTo(skills, QPoint()), w->size());
    };
    for (const auto& [skill, captions] : tables) {
        for (int c = 0; c < captions.size(); ++c) {
            const std::string key = skill + "-l1-" + std::to_string(c + 1);
            const QRect box = within(Windows::box(skills, fieldName(skillCorrectionTable(), key)));
            QLabel* above = nullptr;
            for (QLabel* label : skills->findChildren<QLabel*>()) {
                const QRect r = within(label);
                if (r.bottom() < box.top() && r.center().x() >= box.left() &&
                    r.center().x() <= box.right() &&
                    (above == nullptr || r.bottom() > within(above).bottom()))
                    above = label;
            }
            QVERIFY2(above != nullptr, qPrintable(captions[c]));
            QCOMPARE(above->text(), captions[c]);
        }
    }
}

void TableWindowsTest::aFileDroppedOnAWindowIsNoEdit() {
    Windows t;
    QWidget* guts = t.open("Command23", "Form2");
    Windows::clickRow(guts, 2);
    QLineEdit* box = Windows::box(guts, fieldName(gutsTable(), "hp100-hit"));
    const QString shown = box->text();
    const auto other = t.exe().parent_path() / "copy.04";
    test::writeFile(other, t.bytes());
    // Taken by the window, which says where files open; the box and the open file stay.
    QVERIFY(test::dropFile(*box, other));
    QCOMPARE(box->text(), shown);
    QVERIFY(!t.window().context().pending().hasPending());
    QTRY_VERIFY(t.dialogs().lastMessage().contains(u("主窗口")));
    QCOMPARE(t.window().context().session().exepath(), QString::fromStdString(t.exe().string()));
}

void TableWindowsTest::quittingBringsAWindowWithEditsForward() {
    Windows t;
    QWidget* guts = t.open("Command23", "Form2");
    Windows::clickRow(guts, 3);
    Windows::typeIn(guts, fieldName(gutsTable(), "hp100-armor"), "9");
    guts->showMinimized();
    t.window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&t.window()));
    // "退出": the window with the edit comes forward before the question; "取消" stays.
    t.dialogs().answerNextUnsaved(Unsaved::Cancel);
    t.click("Command2");
    QCOMPARE(t.dialogs().questions.size(), 1);
    QVERIFY(!guts->isMinimized());
    QTRY_COMPARE(QApplication::activeWindow(), guts);
    QCOMPARE(Windows::box(guts, fieldName(gutsTable(), "hp100-armor"))->text(), QString("9"));
}

// The window covers the main one: its 撤销 says what it would undo (a write made on another
// page too), and its own status line says what its writes and undos did, naming the table.
void TableWindowsTest::undoButtonsNameTheirStepAndTheWindowSaysItsResult() {
    Windows t;
    t.clickTab("SSTab1", 0);
    t.test::EditorFixture::clickRow("List1", 5);
    t.type(unitField("hp"), "4321");
    t.click("Command3");
    t.clickTab("SSTab1", 3);
    QWidget* guts = t.open("Command23", "Form2");
    auto* undo = guts->findChild<QPushButton*>("TableUndo");
    QCOMPARE(undo->text(), u("撤销：机体005"));
    Windows::clickRow(guts, 1);
    Windows::typeIn(guts, fieldName(gutsTable(), "hp90-hit"), "123");
    Windows::press(guts, "save");
    QCOMPARE(undo->text(), u("撤销：底力补正 L2"));
    QVERIFY2(undo->toolTip().contains(u("底力补正 L2：")), qPrintable(undo->toolTip()));
    auto* status = guts->findChild<QLabel*>("WindowStatus");
    QVERIFY2(status->toolTip().startsWith(u("已写入 底力补正 L2：")),
             qPrintable(status->toolTip()));
    QVERIFY(QTest::qWaitForWindowActive(guts));
    QTest::mouseClick(undo, Qt::LeftButton);
    QVERIFY2(status->toolTip().startsWith(u("已撤销：底力补正 L2")), qPrintable(status->toolTip()));
    QCOMPARE(guts->findChild<QPushButton*>("TableRedo")->text(), u("重做：底力补正 L2"));
}

// A mark (an edit, a refusal) changes a box's colours, never its size or its neighbours'
// places: the barrier window's boxes and the weapon form stay where they were.
void TableWindowsTest::marksChangeColourOnly() {
    // The program's own skin, whose marks are under test.
    startApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    Windows t;
    QWidget* barriers = t.open("Command24", "Form3");
    Windows::clickRow(barriers, 0);
    // Every box and caption of the named boxes' rows, where it stands in the window.
    const auto places = [](QWidget* w, const QStringList& names) {
        QList<QRect> out;
        for (const QString& name : names) {
            QWidget* box = w->findChild<QWidget*>(name);
            for (QWidget* c :
                 box->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (c->isVisible())
                    out << QRect(c->mapTo(w, QPoint()), c->size());
            }
        }
        return out;
    };
    QStringList barrierBoxes;
    for (const char* key : {"en-cost", "morale", "damage", "type"})
        barrierBoxes << fieldName(barrierTable(), key);
    const QList<QRect> before = places(barriers, barrierBoxes);
    Windows::typeIn(barriers, fieldName(barrierTable(), "en-cost"), "7");
    QCoreApplication::processEvents();
    QCOMPARE(places(barriers, barrierBoxes), before);
    Windows::typeIn(barriers, fieldName(barrierTable(), "en-cost"), "99999");
    Windows::press(barriers, "save");
    QVERIFY(
        Windows::box(barriers, fieldName(barrierTable(), "en-cost"))->property("refused").toBool());
    QCoreApplication::processEvents();
    QCOMPARE(places(barriers, barrierBoxes), before);

    t.clickTab("SSTab1", 0);
    t.test::EditorFixture::clickRow("List1", 5);
    t.clickTab("SSTab2", 1);
    t.test::EditorFixture::clickRow("List2", 0);
    QStringList weapon;
    for (const char* key :
         {"attack", "morale", "range-min", "range-max", "upgrade-type", "attribute"})
        weapon << weaponField(key);
    QCoreApplication::processEvents();  // the page just built is laid out
    const QList<QRect> form = places(&t.window(), weapon);
    t.type(weaponField("attack"), "1");
    t.chooseItem(weaponField("upgrade-type"), 2);
    QCoreApplication::processEvents();
    QCOMPARE(places(&t.window(), weapon), form);
}

void TableWindowsTest::aFilterNarrowsTheSpiritList() {
    Windows t;
    QWidget* spirits = t.open("Command28", "Form7");
    auto* list = spirits->findChild<QListView*>("List1");
    auto* filter = spirits->findChild<QLineEdit*>("FilterEntries");
    filter->setFocus();
    QTest::keyClicks(filter, "97");
    int shown = 0;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        shown += list->isRowHidden(row) ? 0 : 1;
    QCOMPARE(shown, 1);
    QVERIFY(!list->isRowHidden(97));
}

VORLAN_WIDGET_TEST_MAIN(TableWindowsTest)
#include "table_windows_wtest.moc"
