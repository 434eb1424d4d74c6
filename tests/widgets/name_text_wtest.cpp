// Names typed as text: characters typed or pasted into a name's text box become their codes
// in its code box as they are typed, a character without a code is marked and named, and the
// note beside the box says, before any write, the bytes the code takes and what a write would
// store other than as typed. After a write, a number stored otherwise than typed is said.

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "document/entry_editor.h"
#include "tables/catalog.h"
#include "tables/pilot_table.h"
#include "tables/unit_table.h"
#include "toolkit/text.h"
#include "widgets/support/editor_fixture.h"
#include "widgets/support/field_names.h"
#include "widgets/support/test_main.h"

using namespace vorlan;
using test::decodedName;
using test::pilotField;
using test::unitField;
using test::weaponField;

namespace {

// 银翼王 in the shipped character table; ☃ has no code there.
constexpr const char* kName = "银翼王";
constexpr const char* kCodes = "94A6949B9245";

struct Names : test::EditorFixture {
    Names() { showWindow(); }
    QLineEdit* box(const QString& name) { return child<QLineEdit>(name); }
    QString note(const QString& textBox) { return child<QLabel>(textBox + "Note")->toolTip(); }
    void typeText(const QString& name, const QString& text) {
        QLineEdit* e = box(name);
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        test::typeKeys(e, text);
    }
    QString stored(const TableDef& table, int index, const char* key) {
        auto doc = Document::open(exe(), tableLayout(), {.backup = false, .readOnly = true});
        EntryEditor editor(*doc, nullptr);
        return u(editor.show(table, index).values[table.fieldIndex(key)].text);
    }
};

}  // namespace

class NameTextTest : public QObject {
    Q_OBJECT
private slots:
    void charactersTypedOrPastedBecomeTheirCodes();
    void aCodeIsNotedBeforeTheWrite();
    void aNumberStoredOtherwiseIsSaidAfterTheWrite();
};

void NameTextTest::charactersTypedOrPastedBecomeTheirCodes() {
    Names n;
    n.clickRow("List1", 6);  // 疾风改-7
    n.clickTab("SSTab2", 2);
    n.typeText(decodedName(unitTable(), "name"), u(kName));
    QCOMPARE(n.box(unitField("name"))->text(), QString(kCodes));
    QVERIFY(n.box(unitField("name"))->property("edited").toBool());
    QVERIFY2(n.note(decodedName(unitTable(), "name")).startsWith(u("6 / 34 字节")),
             qPrintable(n.note(decodedName(unitTable(), "name"))));
    QCOMPARE(n.box(decodedName(unitTable(), "name"))->text(), u(kName));

    // A character without a code: marked and named, the others' codes kept.
    n.typeText(decodedName(unitTable(), "name"), u("银☃"));
    QCOMPARE(n.box(unitField("name"))->text(), QString("94A6"));
    QVERIFY(n.box(decodedName(unitTable(), "name"))->property("refused").toBool());
    QVERIFY2(n.note(decodedName(unitTable(), "name")).contains(u("「☃」没有字码")),
             qPrintable(n.note(decodedName(unitTable(), "name"))));
    QCOMPARE(n.box(decodedName(unitTable(), "name"))->text(), u("银☃"));

    // Pasted: the same as typed; a code typed shows its characters again.
    n.box(decodedName(unitTable(), "name"))->selectAll();
    QApplication::clipboard()->setText(u(kName));
    QTest::keyClick(n.box(decodedName(unitTable(), "name")), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(n.box(unitField("name"))->text(), QString(kCodes));
    QVERIFY(!n.box(decodedName(unitTable(), "name"))->property("refused").toBool());
    n.click("Command3");
    QCOMPARE(n.stored(unitTable(), 6, "name"), QString(kCodes));
    n.type(unitField("name"), "949B");
    QCOMPARE(n.box(decodedName(unitTable(), "name"))->text(), u("翼"));
}

void NameTextTest::aCodeIsNotedBeforeTheWrite() {
    Names n;
    const auto before = n.bytes();
    n.clickRow("List1", 5);
    n.clickTab("SSTab2", 2);
    const struct {
        const char* code;
        const char* note;
    } unit[] = {{"94A6F", "末尾补 0"},
                {"94A6949B9245949B9245949B9245949B9245949B9245949B9245949B9245949B9245949B",
                 "将截为 68 位"},
                {"94A6FFFF", "1 个字码没有对应的字：FFFF"},
                {"94A6000094A6", "之后的 8 位游戏中不显示"},
                {"94G6", "只能填十六进制数字"}};
    for (const auto& c : unit) {
        n.type(unitField("name"), c.code);
        QVERIFY2(n.note(decodedName(unitTable(), "name")).contains(u(c.note)),
                 qPrintable(c.code + (" → " + n.note(decodedName(unitTable(), "name")))));
    }
    // A pilot's nickname of 21 bytes cuts its last character in half.
    n.clickTab("SSTab1", 1);
    n.clickRow("List5", 2);
    n.type(pilotField("nickname"), "94A6949B9245949B9245949B9245949B9245949B9245");
    QVERIFY2(n.note(decodedName(pilotTable(), "nickname")).contains(u("只有半个字码（92）")),
             qPrintable(n.note(decodedName(pilotTable(), "nickname"))));
    QCOMPARE(n.bytes(), before);
    // The write says what it stored, as before.
    n.type(pilotField("nickname"), "94A6F");
    n.click("Command11");
    QVERIFY2(n.dialogs().lastMessage().contains(u("末尾补 0")),
             qPrintable(n.dialogs().lastMessage()));
}

void NameTextTest::aNumberStoredOtherwiseIsSaidAfterTheWrite() {
    Names n;
    n.clickRow("List1", 5);
    n.type(unitField("hp"), "-1");
    n.clickTab("SSTab2", 1);
    n.clickRow("List2", 0);
    n.type(weaponField("hit"), "40000");
    n.click("Command3");
    const QString said = n.dialogs().lastMessage();
    QVERIFY2(said.contains(u("「命中」= -25536（输入 40000）")), qPrintable(said));
    QVERIFY2(said.contains(u("「HP」= 4294967295（输入 -1）")), qPrintable(said));
    QCOMPARE(n.stored(unitTable(), 5, "hp"), QString("4294967295"));
}

VORLAN_WIDGET_TEST_MAIN(NameTextTest)
#include "name_text_wtest.moc"
