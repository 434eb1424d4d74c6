// The editing flow as a user drives it with mouse and keys: unsaved edits are marked and
// asked about, a click on the shown unit reads it again, undo and redo put back exactly
// the bytes of a write, paste or patch, and the filter keeps the keyboard working.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>
#include <QUndoView>

#include "document/document.h"
#include "document/entry_editor.h"
#include "document/journal.h"
#include "fixtures/journals.h"
#include "session/editor_context.h"
#include "tables/catalog.h"
#include "tables/unit_table.h"
#include "toolkit/text.h"
#include "widgets/support/editor_fixture.h"
#include "widgets/support/field_names.h"
#include "widgets/support/test_main.h"

using namespace vorlan;
using test::decodedName;
using test::unitField;
using test::weaponField;
using Bytes = std::vector<std::uint8_t>;
using Unsaved = Dialogs::Unsaved;

namespace {

// Another program puts `other` in the executable's place. Windows replaces no name whose file a
// program holds open (the editor holds it), so there the old one is moved away first.
void replaceBy(const std::filesystem::path& other, const std::filesystem::path& exe) {
#ifdef _WIN32
    std::filesystem::rename(exe, exe.string() + ".replaced");
#endif
    std::filesystem::rename(other, exe);
}

struct Flow : test::EditorFixture {
    QListView* list1 = child<QListView>("List1");
    QListView* list2 = child<QListView>("List2");
    QLabel* status = child<QLabel>("StatusNote");

    Flow() { showWindow(); }
    void clickRow(QListView* list, int row) { EditorFixture::clickRow(list->objectName(), row); }
    QLineEdit* box(const QString& name) { return child<QLineEdit>(name); }
    QUndoStack* undo() { return window().context().history().stack(); }
};

}  // namespace

class EditingFlowTest : public QObject {
    Q_OBJECT
private slots:
    void editsAreMarkedAndReClickingAsks();
    void leavingWithEditsCanWriteOrStay();
    void typingTheOriginalBackRestoresTheFile();
    void undoAndRedoOfWritePasteAndPatch();
    void undoRefusesAfterAnotherProgramChangedTheBytes();
    void aRefusalSwitchesToTheFieldsPage();
    void everyBadFieldIsNamedInOneMessage();
    void aReplacedFileIsOfferedToBeOpenedAgain();
    void anUndoInAReplacedFileOffersToOpenItAgain();
    void aFileDeletedAndPutBackTakesThePendingEdits();
    void aRestoredWriteIsToldAfterTheBackupQuestionAndOnUndo();
    void theStatusLineNamesWhatChangedAndWhatUndoLeft();
    void aJumpInTheHistoryNamesEveryStep();
    void theFilterKeepsTheKeyboardWorking();
    void aFileMovedAwayAndBackIsReadAgain();
    void saveAsRescuesTheEditsOfAFileMovedAway();
};

void EditingFlowTest::editsAreMarkedAndReClickingAsks() {
    Flow f;
    f.clickRow(f.list1, 5);
    const QString hp = f.box(unitField("hp"))->text();
    QVERIFY(!f.window().windowTitle().endsWith("*"));
    f.type(unitField("hp"), "12345");
    QVERIFY(f.box(unitField("hp"))->property("edited").toBool());
    QVERIFY(!f.box(unitField("en"))->property("edited").toBool());
    QCOMPARE(f.window().windowTitle(), u("VORLAN静态修改器V1.20 *"));

    // A click on the unit already shown asks first; "放弃" shows the stored values again.
    f.dialogs().answerNextUnsaved(Unsaved::Discard);
    f.clickRow(f.list1, 5);
    QCOMPARE(f.dialogs().questions.size(), 1);
    QCOMPARE(f.box(unitField("hp"))->text(), hp);
    QVERIFY(!f.box(unitField("hp"))->property("edited").toBool());
    QCOMPARE(f.window().windowTitle(), u("VORLAN静态修改器V1.20"));

    // Without edits a re-click asks nothing and reads the file again.
    const std::uint64_t at = unitTable().entryOffset(5) + 40;
    Bytes b = f.bytes();
    b[at] = 0x39;
    b[at + 1] = 0x05;
    test::writeFile(f.exe(), b);
    f.clickRow(f.list1, 5);
    QCOMPARE(f.dialogs().questions.size(), 1);
    QCOMPARE(f.box(unitField("en"))->text(), QString("1337"));
}

void EditingFlowTest::leavingWithEditsCanWriteOrStay() {
    Flow f;
    f.clickRow(f.list1, 2);
    f.type(unitField("en"), "77");
    // "取消": the list goes back to the unit with the edits, which stay.
    f.dialogs().answerNextUnsaved(Unsaved::Cancel);
    f.clickRow(f.list1, 9);
    QCOMPARE(f.list1->currentIndex().row(), 2);
    QCOMPARE(f.box(unitField("en"))->text(), QString("77"));
    // "写入": the edits are written, then the other unit is shown.
    f.dialogs().answerNextUnsaved(Unsaved::Write);
    f.clickRow(f.list1, 9);
    QCOMPARE(f.list1->currentIndex().row(), 9);
    QCOMPARE(f.child<QComboBox>(unitField("code"))->currentIndex(), 9);
    const Bytes b = f.bytes();
    QCOMPARE(b[unitTable().entryOffset(2) + 40], std::uint8_t{77});
    QVERIFY(f.status->text().startsWith(u("已写入 机体002：EN ")));
    QVERIFY(f.status->text().contains(u(" → 77")));
    QVERIFY(f.status->text().contains(u("SLKV_618.04.bak")));

    // The weapon boxes take input only once a slot of the shown unit is picked.
    QVERIFY(!f.box(weaponField("attack"))->isEnabled());
    f.clickRow(f.list2, 3);
    QVERIFY(f.box(weaponField("attack"))->isEnabled());
    QVERIFY(!f.box(weaponField("name"))->text().isEmpty());
}

void EditingFlowTest::typingTheOriginalBackRestoresTheFile() {
    Flow f;
    const Bytes original = f.bytes();
    f.clickRow(f.list1, 12);
    const QString hp = f.box(unitField("hp"))->text();
    f.type(unitField("hp"), "4242");
    f.click("Command3");
    QVERIFY(f.bytes() != original);
    f.type(unitField("hp"), hp);
    f.click("Command3");
    QCOMPARE(f.bytes(), original);
    // Nothing changed: nothing written, and the status line says so.
    f.click("Command3");
    QCOMPARE(f.status->text(), u("没有改动，未写入"));
    QCOMPARE(f.bytes(), original);
}

void EditingFlowTest::undoAndRedoOfWritePasteAndPatch() {
    Flow f;
    const Bytes original = f.bytes();
    f.clickRow(f.list1, 3);
    f.type(unitField("hp"), "99999");
    f.click("Command3");
    const Bytes written = f.bytes();
    f.dialogs().answerNextQuestion(true);
    f.click("Command5");  // copy unit 3
    f.clickRow(f.list1, 7);
    f.dialogs().answerNextQuestion(true);
    f.click("Command6");  // paste over unit 7
    const Bytes pasted = f.bytes();
    f.click("Command4");  // the upgrade-limit patch
    const Bytes patched = f.bytes();
    QVERIFY(f.status->text().contains(u("个条目")));
    QCOMPARE(f.undo()->count(), 3);

    f.click("UndoButton");
    QCOMPARE(f.bytes(), pasted);
    QTest::keyClick(f.list1, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.bytes(), written);
    f.click("UndoButton");
    QCOMPARE(f.bytes(), original);
    // The page shows the record as stored again.
    QCOMPARE(f.box(unitField("hp"))->text().toStdString(),
             std::to_string(original[unitTable().entryOffset(7) + 36] |
                            original[unitTable().entryOffset(7) + 37] << 8 |
                            original[unitTable().entryOffset(7) + 38] << 16 |
                            original[unitTable().entryOffset(7) + 39] << 24));
    f.click("RedoButton");
    QTest::keyClick(f.list1, Qt::Key_Y, Qt::ControlModifier);
    f.click("RedoButton");
    QCOMPARE(f.bytes(), patched);
    QVERIFY(f.status->text().startsWith(u("已重做：")));
}

void EditingFlowTest::undoRefusesAfterAnotherProgramChangedTheBytes() {
    Flow f;
    f.clickRow(f.list1, 4);
    f.type(unitField("armor"), "1111");
    f.click("Command3");
    // Another program writes the same field.
    {
        auto other = Document::open(f.exe(), tableLayout(), DocumentOptions{.backup = false});
        EntryEditor editor(*other, nullptr);
        const EntryView view = editor.show(unitTable(), 4);
        auto edited = view.values;
        edited[static_cast<std::size_t>(unitTable().fieldIndex("armor"))] =
            FieldValue::ofText("2222");
        QCOMPARE(editor.save({{&unitTable(), 4, view.values, edited}}).status,
                 WriteResult::Status::Written);
    }
    const Bytes theirs = f.bytes();
    f.click("UndoButton");
    QVERIFY(f.dialogs().lastMessage().contains(u("撤销")));
    QCOMPARE(f.bytes(), theirs);
    QTest::qWait(50);  // the history puts its index back after the refusal
    QCOMPARE(f.undo()->index(), 1);
}

void EditingFlowTest::aRefusalSwitchesToTheFieldsPage() {
    Flow f;
    f.clickRow(f.list1, 6);
    auto* tabs = f.child<QTabWidget>("SSTab2");
    f.clickTab("SSTab2", 2);                // "其他"
    f.type(unitField("attribute"), "1FF");  // "机体属性" takes one byte
    f.clickTab("SSTab2", 0);
    const Bytes before = f.bytes();
    f.click("Command3");
    QCOMPARE(f.bytes(), before);
    QVERIFY(f.dialogs().lastMessage().contains(u("机体属性")));
    QCOMPARE(tabs->currentIndex(), 2);
    QVERIFY(f.box(unitField("attribute"))->hasFocus());
    QVERIFY(f.box(unitField("attribute"))->property("refused").toBool());
    f.type(unitField("attribute"), "08");
    QVERIFY(!f.box(unitField("attribute"))->property("refused").toBool());
}

void EditingFlowTest::theFilterKeepsTheKeyboardWorking() {
    Flow f;
    QLineEdit* filter = f.box("FilterUnits");
    filter->setFocus();
    QTest::keyClicks(filter, "12");  // 机体012, 机体112, 机体120 …, and entry 12
    QVERIFY(!f.list1->isRowHidden(12));
    QVERIFY(f.list1->isRowHidden(13));
    QTest::keyClick(filter, Qt::Key_Down);
    QCOMPARE(f.list1->currentIndex().row(), 12);
    QCOMPARE(f.child<QComboBox>(unitField("code"))->currentIndex(), 12);
    QTest::keyClick(filter, Qt::Key_Down);
    const int next = f.list1->currentIndex().row();
    QVERIFY(next > 12 && !f.list1->isRowHidden(next));
    // Clearing the filter shows every row and keeps the selection.
    filter->clear();
    QVERIFY(!f.list1->isRowHidden(13));
    QCOMPARE(f.list1->currentIndex().row(), next);
    // The in-game name matches too.
    const QString decoded = f.box(decodedName(unitTable(), "name"))->text();
    filter->insert(decoded);
    QVERIFY(!f.list1->isRowHidden(next));
    QTest::keyClick(filter, Qt::Key_Return);
    QVERIFY(f.list1->hasFocus());
}

void EditingFlowTest::everyBadFieldIsNamedInOneMessage() {
    Flow f;
    f.clickRow(f.list1, 6);
    f.clickTab("SSTab2", 1);
    f.clickRow(f.list2, 0);
    f.type(weaponField("attack"), "70000");  // the slot's attack takes two bytes
    f.clickTab("SSTab2", 2);
    f.type(unitField("attribute"), "1FF");  // "机体属性" takes one byte
    f.clickTab("SSTab2", 0);
    f.type(unitField("hp"), "abc");  // HP is a number
    f.clickTab("SSTab2", 1);
    const Bytes before = f.bytes();
    f.click("Command3");
    QCOMPARE(f.bytes(), before);
    QCOMPARE(f.dialogs().messages.size(), 1);
    const QString message = f.dialogs().lastMessage();
    for (const char* said :
         {"「HP」填的是“abc”", "「机体属性」填的是“1FF”", "「攻击力」填的是“70000”", "3 个字段"})
        QVERIFY2(message.contains(u(said)), qPrintable(message));
    // In the page's order: 基本参数, then 机体武器, then 其他.
    QVERIFY2(message.indexOf(u("「HP」")) < message.indexOf(u("「攻击力」")) &&
                 message.indexOf(u("「攻击力」")) < message.indexOf(u("「机体属性」")),
             qPrintable(message));
    for (const QString& name : {unitField("hp"), unitField("attribute"), weaponField("attack")})
        QVERIFY2(f.box(name)->property("refused").toBool(), qPrintable(name));
    // The first bad field is brought forward and takes the focus.
    QCOMPARE(f.child<QTabWidget>("SSTab2")->currentIndex(), 0);
    QVERIFY(f.box(unitField("hp"))->hasFocus());
    f.type(unitField("hp"), "100");
    QVERIFY(!f.box(unitField("hp"))->property("refused").toBool());
    QVERIFY(f.box(unitField("attribute"))->property("refused").toBool());
}

// Another program renames a file into the executable's place: nothing is said until a read
// finds it, which asks once whether to open it again; the lists then work on the new file.
void EditingFlowTest::aReplacedFileIsOfferedToBeOpenedAgain() {
    Flow f;
    f.clickRow(f.list1, 5);
    const QString hp = f.box(unitField("hp"))->text();
    f.type(unitField("hp"), "5");  // an unsaved edit
    Bytes theirs = f.bytes();
    const std::uint64_t en7 = unitTable().entryOffset(7) + 40;
    theirs[en7] = 99;
    theirs[en7 + 1] = 0;
    const auto other = f.exe().parent_path() / "other";
    test::writeFile(other, theirs);
    replaceBy(other, f.exe());
    QTest::qWait(200);  // the watcher sees it: a note, no message
    QVERIFY(f.dialogs().messages.isEmpty());
    QVERIFY(f.dialogs().questions.isEmpty());
    QVERIFY(f.status->text().contains(u("替换")));

    // The edit discarded, the reopen declined: the list stays on the unit the form shows.
    f.dialogs().answerNextUnsaved(Unsaved::Discard);
    f.dialogs().answerNextQuestion(false);
    f.clickRow(f.list1, 7);
    QCOMPARE(f.dialogs().questions.size(), 2);
    QVERIFY(f.dialogs().questions[1].contains(u("要重新打开它吗")));
    QCOMPARE(f.list1->currentIndex().row(), 5);
    QCOMPARE(f.box(unitField("hp"))->text(), hp);
    // The next click asks again, once.
    QCoreApplication::processEvents();
    f.dialogs().answerNextQuestion(true);
    f.clickRow(f.list1, 7);
    QCOMPARE(f.dialogs().questions.size(), 3);
    QVERIFY(f.dialogs().messages.isEmpty());
    QCOMPARE(f.list1->currentIndex().row(), 7);
    QCOMPARE(f.box(unitField("en"))->text(), QString("99"));
    QVERIFY(f.status->text().startsWith(u("已重新打开")));
    f.type(unitField("en"), "98");
    f.click("Command3");
    QCOMPARE(f.bytes()[en7], std::uint8_t{98});
}

// A deleted file is said to be gone (nothing to open again); once it is put back, 写入 in
// the reopen's question about the unsaved edits writes them into it, and nothing loops.
void EditingFlowTest::aFileDeletedAndPutBackTakesThePendingEdits() {
    Flow f;
    f.clickRow(f.list1, 5);
    f.type(unitField("en"), "321");
    // Moved away (its inode stays taken, so the copy put back is another file).
    const std::filesystem::path moved = f.exe().string() + ".moved";
    std::filesystem::rename(f.exe(), moved);
    f.click("Command3");
    QVERIFY(f.dialogs().questions.isEmpty());
    QVERIFY(f.dialogs().lastMessage().contains(u("已被删除或移走")));
    QCoreApplication::processEvents();

    std::filesystem::copy_file(moved, f.exe());
    f.dialogs().answerNextQuestion(true);
    f.dialogs().answerNextUnsaved(Unsaved::Write);
    f.click("Command3");
    // The reopen question, then the one about the unsaved edits.
    QCOMPARE(f.dialogs().questions.size(), 2);
    QVERIFY(f.dialogs().questions[0].contains(u("要重新打开它吗")));
    const std::uint64_t en = unitTable().entryOffset(5) + 40;
    QCOMPARE(f.bytes()[en] | f.bytes()[en + 1] << 8, 321);
    QVERIFY(!f.box(unitField("en"))->property("edited").toBool());
    QVERIFY(f.status->text().startsWith(u("已写入 机体005：EN 200 → 321")));
    // Written once into the file that stands there now: another 写入 asks nothing.
    QCoreApplication::processEvents();
    f.click("Command3");
    QCOMPARE(f.dialogs().questions.size(), 2);
}

void EditingFlowTest::anUndoInAReplacedFileOffersToOpenItAgain() {
    Flow f;
    f.clickRow(f.list1, 5);
    f.type(unitField("hp"), "4321");
    f.click("Command3");
    const auto other = f.exe().parent_path() / "other";
    test::writeFile(other, f.bytes());
    replaceBy(other, f.exe());
    const Bytes theirs = f.bytes();
    f.dialogs().answerNextQuestion(true);
    f.click("UndoButton");
    QTRY_COMPARE(f.dialogs().questions.size(), 1);
    QVERIFY(f.dialogs().questions[0].contains(u("要重新打开它吗")));
    QVERIFY(f.dialogs().messages.isEmpty());
    QCOMPARE(f.bytes(), theirs);  // the new file is not undone into
    // Opened again: its history starts afresh.
    QTRY_VERIFY(!f.child<QPushButton>("UndoButton")->isEnabled());
    QVERIFY(f.status->text().startsWith(u("已重新打开")));
}

// Leaves a journal of an interrupted write of unit 9's EN beside the open executable: the
// file holds the new byte, the journal the old one.
static void interruptWrite(Flow& f) {
    const std::uint64_t en = unitTable().entryOffset(9) + 40;
    Bytes b = f.bytes();
    const std::uint8_t old = b[en];
    b[en] = static_cast<std::uint8_t>(old + 1);
    test::writeFile(f.exe(), b);
    test::plantJournal(f.exe(), test::interruptedJournal(f.exe(), {{en, {old}, {b[en]}}}));
}

// An interrupted write found by a read, by a write after the backup question, or by an undo
// is restored and said so every time.
void EditingFlowTest::aRestoredWriteIsToldAfterTheBackupQuestionAndOnUndo() {
    Flow f;
    const Bytes original = f.bytes();
    const auto toldSince = [&f](int from) {
        QCoreApplication::processEvents();
        return f.dialogs().messages.mid(from).join('\n').contains(u("恢复为那次写入之前"));
    };
    interruptWrite(f);
    f.clickRow(f.list1, 3);
    QVERIFY(toldSince(0));
    QCOMPARE(f.bytes(), original);

    // A backup that cannot be trusted makes the write ask, then retry with a dated backup.
    test::writeText(f.exe().string() + ".bak", "too short");
    f.type(unitField("hp"), "4321");
    int from = static_cast<int>(f.dialogs().messages.size());
    interruptWrite(f);
    f.dialogs().answerNextQuestion(true);
    f.click("Command3");
    QVERIFY(toldSince(from));
    QVERIFY(f.status->text().startsWith(u("已写入")));

    from = static_cast<int>(f.dialogs().messages.size());
    interruptWrite(f);
    QTest::keyClick(&f.window(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(toldSince(from));
    QCOMPARE(f.bytes(), original);
}

// One weapon field written is one entry's change, and an undo says which write it undid.
void EditingFlowTest::theStatusLineNamesWhatChangedAndWhatUndoLeft() {
    Flow f;
    f.clickRow(f.list1, 4);
    f.clickRow(f.list2, 0);
    const QString attack = f.box(weaponField("attack"))->text();
    f.type(weaponField("attack"), "4321");
    f.click("Command3");
    QVERIFY(f.status->text().startsWith(u("已写入")));
    QVERIFY2(!f.status->text().contains(u("个条目")), qPrintable(f.status->text()));
    QTest::keyClick(&f.window(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(f.status->text().startsWith(u("已撤销：")));
    QVERIFY2(f.status->text().endsWith(attack + u(" → 4321")), qPrintable(f.status->text()));
}

void EditingFlowTest::aJumpInTheHistoryNamesEveryStep() {
    Flow f;
    const Bytes original = f.bytes();
    f.clickRow(f.list1, 4);
    for (const char* hp : {"1111", "2222", "3333"}) {
        f.type(unitField("hp"), hp);
        f.click("Command3");
    }
    f.showWindow();
    f.click("HistoryButton");
    auto* history = f.child<QUndoView>("HistoryView");
    QTRY_VERIFY(history->isVisible());
    // The first line is the state at opening: a click there undoes all three writes.
    const QRect first = history->visualRect(history->model()->index(0, 0));
    QTest::mouseClick(history->viewport(), Qt::LeftButton, {}, first.center());
    QCOMPARE(f.bytes(), original);
    const QString said = f.status->text();
    QVERIFY2(said.startsWith(u("已撤销：")), qPrintable(said));
    for (const char* hp : {"1111 → 2222", "2222 → 3333", "→ 1111"})
        QVERIFY2(said.contains(u(hp)), qPrintable(said));
}

// Moved away, changed there, moved back: the watch follows the path and the file, says it is
// back and shows what it holds now.
void EditingFlowTest::aFileMovedAwayAndBackIsReadAgain() {
    Flow f;
    f.clickRow(f.list1, 5);
    const std::filesystem::path moved = f.exe().string() + ".away";
    std::filesystem::rename(f.exe(), moved);
    QTRY_VERIFY2(f.status->text().contains(u("已被删除或移走")), qPrintable(f.status->text()));
    Bytes b = test::readFile(moved);
    const std::uint64_t en = unitTable().entryOffset(5) + 40;
    b[en] = 0x39;
    b[en + 1] = 0x05;
    test::writeFile(moved, b);  // in place: the same file
    std::filesystem::rename(moved, f.exe());
    QTRY_VERIFY2(f.status->text().contains(u("已回到原处")), qPrintable(f.status->text()));
    QTRY_COMPARE(f.box(unitField("en"))->text(), QString("1337"));
    QVERIFY(f.dialogs().messages.isEmpty());
}

// The file is moved away with an edit pending; 文件 → 另存为… makes a copy of it as it was
// opened, which becomes the open file: the edit is still there and is written into the copy.
void EditingFlowTest::saveAsRescuesTheEditsOfAFileMovedAway() {
    Flow f;
    f.clickRow(f.list1, 5);
    f.type(unitField("en"), "321");
    const Bytes original = f.bytes();
    const std::filesystem::path moved = f.exe().string() + ".away";
    std::filesystem::rename(f.exe(), moved);
    const auto copy = f.exe().parent_path() / "rescued.04";
    f.dialogs().chooseNextFile(QString::fromStdString(copy.string()));
    auto* bar = f.child<QMenuBar>("MenuBar");
    auto* file = f.child<QMenu>("FileMenu");
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file->menuAction()).center());
    QTRY_VERIFY(file->isVisible());
    QAction* saveAs = file->findChild<QAction*>("SaveAsAction");
    QCOMPARE(saveAs->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(saveAs).center());
    QTRY_COMPARE(f.window().context().session().exepath(), QString::fromStdString(copy.string()));
    QCOMPARE(test::readFile(copy), original);
    QCOMPARE(f.box(unitField("en"))->text(), QString("321"));
    QVERIFY(f.box(unitField("en"))->property("edited").toBool());
    f.click("Command3");
    const std::uint64_t en = unitTable().entryOffset(5) + 40;
    const Bytes written = test::readFile(copy);
    QCOMPARE(written[en] | written[en + 1] << 8, 321);
    QCOMPARE(test::readFile(moved), original);
    // A name already there is never replaced.
    f.dialogs().chooseNextFile(QString::fromStdString(moved.string()));
    QTest::keyClick(&f.window(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY2(f.dialogs().lastMessage().startsWith(u("没有另存为")),
             qPrintable(f.dialogs().lastMessage()));
    // The copy proposed keeps the file's extension, which the dialog offers first (Windows'
    // dialog would add the first filter's to a name without it).
    QVERIFY(f.dialogs().starts.last().endsWith(u("rescued-副本.04")));
    QVERIFY(f.dialogs().filters.last().startsWith(u("同类文件 (*.04)")));
    QCOMPARE(test::readFile(moved), original);
    QCOMPARE(f.window().context().session().exepath(), QString::fromStdString(copy.string()));
}

VORLAN_WIDGET_TEST_MAIN(EditingFlowTest)
#include "editing_flow_wtest.moc"
