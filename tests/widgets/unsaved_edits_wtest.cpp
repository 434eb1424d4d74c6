// Unsaved edits as the player leaves them: one question lists every record with its page and
// fields, and nothing is written or dropped before its answer; a question that would write
// into another file than the one edited does not write on Enter; Ctrl+S writes every group of
// a page; boxes take typing only once a record is picked; a read-only file takes none.

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <cstdlib>
#include <functional>

#include "document/entry_editor.h"
#include "session/editor_context.h"
#include "session/undo_history.h"
#include "tables/catalog.h"
#include "tables/pilot_table.h"
#include "tables/skill_training_table.h"
#include "tables/unit_table.h"
#include "tables/upgrade_tables.h"
#include "tables/window_tables.h"
#include "toolkit/text.h"
#include "widgets/support/editor_fixture.h"
#include "widgets/support/field_names.h"
#include "widgets/support/test_main.h"

using namespace vorlan;
using test::decodedName;
using test::fieldName;
using test::pilotField;
using test::unitField;
using Unsaved = Dialogs::Unsaved;

namespace {

struct Editor : test::EditorFixture {
    explicit Editor(bool open = true) : EditorFixture(open) { showWindow(); }
    QLineEdit* box(const QString& name) { return child<QLineEdit>(name); }
    // A field as the file holds it now.
    QString stored(const TableDef& table, int index, const char* key) {
        auto doc = Document::open(exe(), tableLayout(), {.backup = false, .readOnly = true});
        EntryEditor editor(*doc, nullptr);
        return u(editor.show(table, index).values[table.fieldIndex(key)].text);
    }
    // 机体005's HP and 机师003's SP typed, not written.
    void editUnitAndPilot() {
        clickRow("List1", 5);
        type(unitField("hp"), "12345");
        clickTab("SSTab1", 1);
        clickRow("List5", 3);
        type(pilotField("sp"), "77");
    }
};

#ifdef _WIN32
// Another program holds the file and lets others only read it (a share mode): nobody else can
// write it while this lives. (Wine run by root writes files with the read-only attribute.)
struct Unwritable {
    explicit Unwritable(const std::filesystem::path& p)
        : holder(::CreateFileW(p.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr)) {}
    ~Unwritable() {
        if (works())
            ::CloseHandle(holder);
    }
    bool works() const { return holder != INVALID_HANDLE_VALUE; }
    HANDLE holder;
};
#else
// The file cannot be written by anyone, root included, while it lives.
struct Unwritable {
    explicit Unwritable(const std::filesystem::path& p) : path(p) {
        std::filesystem::permissions(p, std::filesystem::perms::owner_read |
                                            std::filesystem::perms::group_read |
                                            std::filesystem::perms::others_read);
        if (access(p.c_str(), W_OK) == 0)  // root: only the immutable flag stops a write
            immutable = std::system(("chattr +i '" + p.string() + "' 2>/dev/null").c_str()) == 0;
    }
    ~Unwritable() {
        if (immutable)
            std::system(("chattr -i '" + path.string() + "'").c_str());
    }
    bool works() const { return access(path.c_str(), W_OK) != 0; }
    std::filesystem::path path;
    bool immutable = false;
};
#endif

}  // namespace

class UnsavedEditsTest : public QObject {
    Q_OBJECT
private slots:
    void oneQuestionListsEveryRecordAndCancelKeepsThemAll();
    void writeAllWritesEveryRecord();
    void closingASmallWindowNamesItsRecordAndFields();
    void aWriteIntoAReplacementIsNotTheDefault();
    void theRealDialogsPressTheSafeButtonOnEnter();
    void ctrlSWritesEveryGroupOfThePage();
    void boxesTakeTypingOnlyOnceARecordIsPicked();
    void aReadOnlyFileTakesNoEdits();
};

void UnsavedEditsTest::oneQuestionListsEveryRecordAndCancelKeepsThemAll() {
    Editor e;
    e.editUnitAndPilot();
    const auto before = e.bytes();
    const auto copy = e.exe().parent_path() / "copy.04";
    test::writeFile(copy, before);
    // 退出, then another file opened: each time one question naming both records and their
    // fields; "取消" leaves both edits as they were and the file untouched.
    const auto quit = [&] { e.click("Command2"); };
    const auto openOther = [&] {
        e.window().openExecutable(QString::fromStdString(copy.string()));
    };
    for (const auto& leave : {std::function<void()>(quit), std::function<void()>(openOther)}) {
        const qsizetype asked = e.dialogs().questions.size();
        e.dialogs().answerNextUnsaved(Unsaved::Cancel);
        leave();
        QCOMPARE(e.dialogs().questions.size(), asked + 1);
        const Dialogs::UnsavedAsk& ask = e.dialogs().unsavedAsks.last();
        QVERIFY(ask.several);
        for (const char* said : {"机体武器修改", "机体005", "HP", "机师修改", "机师003", "SP"})
            QVERIFY2(ask.text.contains(u(said)), qPrintable(ask.text));
        QCOMPARE(e.box(unitField("hp"))->text(), QString("12345"));
        QCOMPARE(e.box(pilotField("sp"))->text(), QString("77"));
        QVERIFY(e.window().context().pending().hasPending());
        QCOMPARE(e.window().context().session().exepath(),
                 QString::fromStdString(e.exe().string()));
        QCOMPARE(e.bytes(), before);
    }
    // "全部放弃": both dropped at once, and the window goes.
    e.dialogs().answerNextUnsaved(Unsaved::Discard);
    e.click("Command2");
    QVERIFY(!e.window().context().pending().hasPending());
    QCOMPARE(e.bytes(), before);
}

void UnsavedEditsTest::writeAllWritesEveryRecord() {
    Editor e;
    e.editUnitAndPilot();
    e.dialogs().answerNextUnsaved(Unsaved::Write);
    e.click("Command2");
    QCOMPARE(e.dialogs().questions.size(), 1);
    QCOMPARE(e.stored(unitTable(), 5, "hp"), QString("12345"));
    QCOMPARE(e.stored(pilotTable(), 3, "sp"), QString("77"));
    QVERIFY(!e.window().context().pending().hasPending());
}

void UnsavedEditsTest::closingASmallWindowNamesItsRecordAndFields() {
    Editor e;
    e.clickTab("SSTab1", 3);
    e.click("Command23");
    auto* guts = e.window().findChild<QWidget*>("Form2");
    QVERIFY(guts != nullptr && QTest::qWaitForWindowExposed(guts));
    test::clickRow(guts->findChild<QAbstractItemView*>("List1"), 3);
    auto* cell = test::field<QLineEdit>(guts, gutsTable(), "hp100-evasion");
    cell->setFocus();
    cell->selectAll();
    QTest::keyClicks(cell, "9");
    e.dialogs().answerNextUnsaved(Unsaved::Cancel);
    QTest::mouseClick(guts->findChild<QPushButton*>("open"), Qt::LeftButton);
    const Dialogs::UnsavedAsk& ask = e.dialogs().unsavedAsks.last();
    QVERIFY(!ask.several);
    QVERIFY2(ask.text.contains(u("底力补正 L4：")) && ask.text.contains(u("回避補正")),
             qPrintable(ask.text));
    QVERIFY(guts->isVisible());
    QCOMPARE(cell->text(), QString("9"));
}

// The file was replaced while an edit was pending; opening the replacement asks about the
// edit, which would be written into that other file: Enter gives "取消".
void UnsavedEditsTest::aWriteIntoAReplacementIsNotTheDefault() {
    Editor e;
    e.clickRow("List1", 5);
    e.type(unitField("en"), "321");
    const std::filesystem::path moved = e.exe().string() + ".moved";
    std::filesystem::rename(e.exe(), moved);
    std::filesystem::copy_file(moved, e.exe());
    e.dialogs().answerNextQuestion(true);  // open the replacement
    e.dialogs().answerNextUnsaved(Unsaved::Cancel);
    e.click("Command3");
    QCOMPARE(e.dialogs().unsavedAsks.size(), 1);
    QCOMPARE(e.dialogs().unsavedAsks[0].answer, Unsaved::Cancel);
    QCOMPARE(e.box(unitField("en"))->text(), QString("321"));
    // Leaving the file itself asks with "写入" as the default, as ever.
    e.dialogs().answerNextUnsaved(Unsaved::Cancel);
    e.click("Command2");
    QCOMPARE(e.dialogs().unsavedAsks.last().answer, Unsaved::Write);
}

// Enter in the real message boxes: "取消" where the safe default is asked for.
void UnsavedEditsTest::theRealDialogsPressTheSafeButtonOnEnter() {
    const auto pressEnter = [] {
        QTimer::singleShot(0, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                QTest::keyClick(box, Qt::Key_Return);
        });
    };
    WidgetDialogs dialogs;
    pressEnter();
    QCOMPARE(dialogs.askUnsaved(nullptr, {u("…"), false, true, Unsaved::Cancel}), Unsaved::Cancel);
    pressEnter();
    QCOMPARE(dialogs.askUnsaved(nullptr, {u("…"), true, true, Unsaved::Write}), Unsaved::Write);
    pressEnter();
    QVERIFY(!dialogs.question(nullptr, u("写回镜像？"), Dialogs::Default::Cancel));
    // A read-only file: no write is offered, whatever the default asked for.
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        QStringList captions;
        for (QAbstractButton* b : box->buttons())
            captions << b->text();
        QVERIFY2(!captions.contains(u("写入")), qPrintable(captions.join(',')));
        QTest::keyClick(box, Qt::Key_Return);
    });
    QCOMPARE(dialogs.askUnsaved(nullptr, {u("…"), false, false, Unsaved::Write}), Unsaved::Cancel);
}

// 其他修改: an edit in each of its three groups; Ctrl+S in one of them writes all three as one
// write: one step in the history, one status line naming every table. With nothing left,
// Ctrl+S says so.
void UnsavedEditsTest::ctrlSWritesEveryGroupOfThePage() {
    Editor e;
    e.clickTab("SSTab1", 2);
    e.chooseItem("Combo29", 1);
    e.type(fieldName(skillTrainingTable(), "pp1"), "9");
    e.chooseItem("Combo31", 2);
    e.type(fieldName(upgradeCostTable(), "step1"), "123");
    e.chooseItem("Combo32", 3);
    e.type(fieldName(upgradeIncrementTable(), "step2"), "7");
    const int steps = e.window().context().history().stack()->count();
    QTest::keyClick(e.box(fieldName(upgradeCostTable(), "step1")), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(e.stored(skillTrainingTable(), 1, "pp1"), QString("9"));
    QCOMPARE(e.stored(upgradeCostTable(), 2, "step1"), QString("123"));
    QCOMPARE(e.stored(upgradeIncrementTable(), 3, "step2"), QString("7"));
    QVERIFY(!e.window().context().pending().hasPending());
    QCOMPARE(e.window().context().history().stack()->count(), steps + 1);
    const QString said = e.child<QLabel>("StatusNote")->text();
    for (const TableDef* t : {&skillTrainingTable(), &upgradeCostTable(), &upgradeIncrementTable()})
        QVERIFY2(said.contains(u(t->caption)), qPrintable(said));
    QTest::keyClick(e.box(fieldName(upgradeCostTable(), "step1")), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(e.child<QLabel>("StatusNote")->text(), u("本页没有尚未写入的修改，没有写入。"));
}

void UnsavedEditsTest::boxesTakeTypingOnlyOnceARecordIsPicked() {
    Editor e;
    const struct {
        int tab;
        QStringList boxes;
        const char* pick;  // a list or a choice box
    } cases[] = {
        {0, {unitField("hp"), decodedName(unitTable(), "name")}, "List1"},
        {1,
         {pilotField("sp"), pilotField("nickname"), decodedName(pilotTable(), "nickname")},
         "List5"},
        {2, {fieldName(upgradeCostTable(), "step1")}, "Combo31"},
        {2,
         {fieldName(skillTrainingTable(), "pp1"), fieldName(skillTrainingTable(), "name-pointer")},
         "Combo29"}};
    for (const auto& c : cases) {
        e.clickTab("SSTab1", c.tab);
        for (const QString& name : c.boxes) {
            QLineEdit* box = e.box(name);
            QVERIFY2(!box->isEnabled(), qPrintable(name));
            QTest::keyClicks(box, "5");
            QVERIFY2(box->text().isEmpty(), qPrintable(name));
        }
        if (QString(c.pick).startsWith("List"))
            e.clickRow(c.pick, 1);
        else
            e.chooseItem(c.pick, 1);
        for (const QString& name : c.boxes)
            QVERIFY2(e.box(name)->isEnabled(), qPrintable(name));
    }
    QVERIFY(!e.window().context().pending().hasPending());
}

void UnsavedEditsTest::aReadOnlyFileTakesNoEdits() {
    Editor e(false);
    const Unwritable locked(e.exe());
    if (!locked.works())
        QSKIP("this system lets the test write any file");
    QVERIFY(e.window().openExecutable(QString::fromStdString(e.exe().string())));
    QVERIFY(e.window().windowTitle().contains(u("只读")));
#ifdef _WIN32
    QVERIFY(e.dialogs().lastMessage().startsWith(u("另一个程序正打开着游戏主程序")));
#endif
    QVERIFY(e.child<QLabel>("ReadOnlyMark")->isVisible());
    e.clickRow("List1", 5);
    const QString hp = e.box(unitField("hp"))->text();
    QTest::keyClicks(e.box(unitField("hp")), "9");
    QTest::keyClicks(e.box(decodedName(unitTable(), "name")), "9");
    QCOMPARE(e.box(unitField("hp"))->text(), hp);
    QVERIFY(!e.box(unitField("hp"))->property("edited").toBool());
    QVERIFY(!e.child<QComboBox>(unitField("move-type"))->isEnabled());
    QVERIFY(!e.child<QPushButton>("Command3")->isEnabled());
    QVERIFY(!e.window().windowTitle().endsWith("*"));
    // Nothing to ask about on leaving: 退出 asks nothing (the fake fails on any question).
    e.click("Command2");
    QVERIFY(e.dialogs().questions.isEmpty());
}

VORLAN_WIDGET_TEST_MAIN(UnsavedEditsTest)
#include "unsaved_edits_wtest.moc"
