// The unit page driven through its controls: selection, write and note line, hints,
// icon toggles, copy and paste, the two patches.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "session/editor_context.h"
#include "tables/unit_table.h"
#include "toolkit/entry_list_model.h"
#include "toolkit/entry_list_view.h"
#include "toolkit/text.h"
#include "widgets/support/editor_fixture.h"
#include "widgets/support/field_names.h"
#include "widgets/support/test_main.h"

using namespace vorlan;
using test::decodedName;
using test::unitField;
using test::weaponField;
using Bytes = std::vector<std::uint8_t>;
using test::differences;

namespace {

const QString kNoSlot = u("注意：现在没有选定武器修改，武器部分不作写入");
const QString kSlot = u("注意：现在已经选定武器修改，武器部分将写入文件");

struct Page : test::EditorFixture {
    EntryListView* list1 = child<EntryListView>("List1");
    EntryListView* list2 = child<EntryListView>("List2");
    QLabel* note = child<QLabel>("Label12");

    Page() { showWindow(); }
    void selectUnit(int i) { clickRow("List1", i); }
    void selectSlot(int j) { clickRow("List2", j); }
    QString text(const QString& name) { return child<QLineEdit>(name)->text(); }

    std::size_t unitAt(int i) const { return unitTable().entryOffset(i); }
};

}  // namespace

class UnitPageTest : public QObject {
    Q_OBJECT
private slots:
    void selectingAUnitShowsIt();
    void writeWithoutChangesWritesNothing();
    void writeSendsOnlyTheEditedField();
    void writeIncludesTheSelectedSlot();
    void aStaleSlotIsNeverWrittenIntoAnotherUnit();
    void badValuesAreRefusedBeforeAnyWrite();
    void refusalsWithoutUnitOrExecutable();
    void hintsAndToggles();
    void copyAndPaste();
    void patchesRefreshThePage();
    void aChoiceBoxCompletesTypedText();
    void aNameStoredOtherThanTypedIsShownAndSaid();
    void theNotesFollowTheUnitAndTheSlot();
};

void UnitPageTest::selectingAUnitShowsIt() {
    Page p;
    p.selectUnit(1);
    QCOMPARE(p.text("Text13"), QString("210570"));
    QCOMPARE(p.list2->model()->rowCount(), 18);
    QCOMPARE(p.list2->entries()->label(0), u("武器1"));
    QCOMPARE(p.list2->entries()->label(17), u("武器18"));
    QCOMPARE(p.list2->currentIndex().row(), -1);
    QCOMPARE(p.child<QComboBox>(unitField("code"))->currentIndex(), 1);
    const Bytes b = p.bytes();
    const std::size_t base = p.unitAt(1);
    const std::uint32_t hp =
        b[base + 36] | (b[base + 37] << 8) | (b[base + 38] << 16) | (b[base + 39] << 24);
    QCOMPARE(p.text(unitField("hp")), QString::number(hp));
    QVERIFY(!p.text(unitField("name")).isEmpty());
    QCOMPARE(
        p.text(decodedName(unitTable(), "name")).toStdString(),
        p.window().context().session().charTable().decode(p.text(unitField("name")).toStdString()));
    QVERIFY(!p.text(decodedName(unitTable(), "name")).isEmpty());
    QCOMPARE(p.text("Text37"), QString("%1%2")
                                   .arg(b[base + 58], 2, 16, QChar('0'))
                                   .arg(b[base + 59], 2, 16, QChar('0'))
                                   .toUpper());
    // The step digits' box says what it holds.
    auto* steps = p.child<QLabel>("Label37");
    QCOMPARE(steps->text(), u("段数"));
    QCOMPARE(steps->buddy(), p.child<QWidget>("Text37"));

    p.selectSlot(0);
    QVERIFY(!p.text(weaponField("name")).isEmpty());
    QCOMPARE(p.text(decodedName(weaponTable(), "name")).toStdString(),
             p.window().context().session().charTable().decode(
                 p.text(weaponField("name")).toStdString()));
    p.selectUnit(480);
    QCOMPARE(p.text("Text13"), QString("2AF620"));
}

void UnitPageTest::writeWithoutChangesWritesNothing() {
    Page p;
    const Bytes before = p.bytes();
    p.selectUnit(3);  // the demo's unit 3 has a toggle byte with bits 4 to 7 set
    p.selectSlot(0);
    p.click("Command3");
    QCOMPARE(p.note->text(), kSlot);
    QVERIFY(p.dialogs().messages.isEmpty());
    QCOMPARE(p.bytes(), before);
    QVERIFY(!std::filesystem::exists(p.exe().string() + ".bak"));
}

void UnitPageTest::writeSendsOnlyTheEditedField() {
    Page p;
    const Bytes before = p.bytes();
    p.selectUnit(5);
    p.click("Command3");
    QCOMPARE(p.note->text(), kNoSlot);
    p.type(unitField("hp"), "100000");
    p.click("Command3");
    QVERIFY2(p.dialogs().messages.isEmpty(), qPrintable(p.dialogs().lastMessage()));
    const Bytes after = p.bytes();
    for (std::size_t at : differences(before, after))
        QVERIFY(at >= p.unitAt(5) + 36 && at < p.unitAt(5) + 40);
    QCOMPARE(Bytes(after.begin() + p.unitAt(5) + 36, after.begin() + p.unitAt(5) + 40),
             (Bytes{0xA0, 0x86, 0x01, 0x00}));
    // The first write of the run made the backup, and said so once.
    QCOMPARE(test::readFile(p.exe().string() + ".bak"), before);
    QVERIFY(p.child<QLabel>("StatusNote")->text().contains("SLKV_618.04.bak"));
}

void UnitPageTest::writeIncludesTheSelectedSlot() {
    Page p;
    const Bytes before = p.bytes();
    p.selectUnit(5);
    p.selectSlot(2);
    p.type(weaponField("attack"), "1234");
    p.click("Command3");
    QCOMPARE(p.note->text(), kSlot);
    const std::size_t slot = weaponTable().entryOffset(5 * 18 + 2);
    QCOMPARE(differences(before, p.bytes()).size() <= 2, true);
    QCOMPARE(p.bytes()[slot + 42], std::uint8_t{0xD2});
    QCOMPARE(p.bytes()[slot + 43], std::uint8_t{0x04});
    QCOMPARE(p.text(weaponField("attack")), QString("1234"));
}

void UnitPageTest::aStaleSlotIsNeverWrittenIntoAnotherUnit() {
    Page p;
    p.selectUnit(5);
    p.selectSlot(1);
    QVERIFY(!p.text(weaponField("name")).isEmpty());
    p.selectUnit(6);
    // Unit 5's slot is gone: the weapon boxes are empty and take no input until a slot of
    // unit 6 is picked.
    QCOMPARE(p.text(weaponField("name")), QString());
    QVERIFY(!p.child<QLineEdit>(weaponField("attack"))->isEnabled());
    p.type(unitField("en"), "321");
    const Bytes before = p.bytes();
    p.click("Command3");
    QCOMPARE(p.note->text(), kNoSlot);
    for (std::size_t at : differences(before, p.bytes()))
        QVERIFY(at >= p.unitAt(6) + 40 && at < p.unitAt(6) + 42);
    QCOMPARE(p.bytes()[p.unitAt(6) + 40], std::uint8_t{0x41});  // 321
    QCOMPARE(p.bytes()[p.unitAt(6) + 41], std::uint8_t{0x01});
}

void UnitPageTest::badValuesAreRefusedBeforeAnyWrite() {
    Page p;
    const Bytes before = p.bytes();
    p.selectUnit(7);
    p.selectSlot(0);
    p.type(unitField("en"), "500");        // a good header change …
    p.type(weaponField("hit"), "-40000");  // … and a bad slot value: nothing at all is written
    p.click("Command3");
    QCOMPARE(p.dialogs().messages.size(), 1);
    QVERIFY(p.dialogs().lastMessage().contains(u("「命中」")));
    QVERIFY(p.dialogs().lastMessage().contains("-32768"));
    QCOMPARE(p.bytes(), before);
    p.type(weaponField("hit"), "0");
    p.type(unitField("step-en"), "16");
    p.click("Command3");
    QVERIFY(p.dialogs().lastMessage().contains(u("改造段数 EN")));
    p.type(unitField("step-en"), "1");
    p.child<QComboBox>(unitField("size"))->setEditText("XXL");
    p.click("Command3");
    QVERIFY(p.dialogs().lastMessage().contains(u("「SIZE」")));
    QCOMPARE(p.bytes(), before);
}

void UnitPageTest::refusalsWithoutUnitOrExecutable() {
    {
        Page p;
        const Bytes before = p.bytes();
        for (const char* button : {"Command3", "Command5", "Command6"}) {
            const auto count = p.dialogs().messages.size();
            p.click(button);
            QCOMPARE(p.dialogs().messages.size(), count + 1);
            QVERIFY(p.dialogs().lastMessage().contains(u("选择")));
        }
        QVERIFY(p.dialogs().questions.isEmpty());
        p.selectUnit(2);
        p.click("Command6");  // nothing copied yet
        QVERIFY(p.dialogs().lastMessage().contains(u("复制")));
        QVERIFY(p.dialogs().questions.isEmpty());
        QCOMPARE(p.bytes(), before);
    }
    test::EditorFixture closed(false);
    const Bytes before = closed.bytes();
    for (const char* button : {"Command3", "Command4", "Command5", "Command6", "Command7"}) {
        QTest::mouseClick(closed.child<QPushButton>(button), Qt::LeftButton);
        QVERIFY(closed.dialogs().lastMessage().contains(u("打开")));
    }
    QCOMPARE(closed.bytes(), before);
}

void UnitPageTest::hintsAndToggles() {
    Page p;
    p.click("Command8");
    QCOMPARE(p.dialogs().lastMessage(),
             u("要把敌机改为可用,"
               "方法是把敌机数据粘贴到我方废弃机体上，然后再把废弃我方机体的属性改为08"));
    p.click("Command9");
    QCOMPARE(p.dialogs().lastMessage(), u("01-移动后可使用,02－BEAM武器,大于02两者共存（P+B）"));
    p.click("Command10");
    QCOMPARE(p.dialogs().lastMessage(), u("00、02:敌方，08、09:我方"));

    p.selectUnit(3);  // toggle byte F5: toggles 0 and 2 on
    auto* off1 = p.child<QLabel>("Picture1(1)");
    auto* on1 = p.child<QLabel>("Picture2(1)");
    QVERIFY(!off1->isHidden());
    QVERIFY(on1->isHidden());
    QVERIFY(!p.child<QLabel>("Picture2(0)")->isHidden());
    QTest::mouseClick(off1, Qt::LeftButton);
    QVERIFY(off1->isHidden());
    QVERIFY(!on1->isHidden());
    QTest::mouseClick(p.child<QLabel>("Picture2(0)"), Qt::LeftButton);
    QVERIFY(p.child<QLabel>("Picture2(0)")->isHidden());
    p.click("Command3");
    QCOMPARE(p.bytes()[p.unitAt(3) + 70], std::uint8_t{0xF6});
}

void UnitPageTest::copyAndPaste() {
    Page p;
    const Bytes before = p.bytes();
    p.selectUnit(3);
    const QString name3 = p.list1->entries()->label(3);
    p.dialogs().answerNextQuestion(false);
    p.click("Command5");
    QCOMPARE(p.dialogs().questions.last(), u("将要复制选定机体的数据,是否进行操作"));
    QCOMPARE(p.dialogs().lastMessage(), u("没有进行复制操作"));
    p.dialogs().answerNextQuestion(true);
    p.click("Command5");
    QCOMPARE(p.dialogs().lastMessage(), u("已经复制") + name3 + u("的数据"));

    p.selectUnit(7);
    p.selectSlot(4);
    p.dialogs().answerNextQuestion(false);
    p.click("Command6");
    QCOMPARE(p.dialogs().questions.last(),
             u("将要把复制的数据粘贴到选定机体的上,并且直接写入文件,是否进行操作"));
    QCOMPARE(p.dialogs().lastMessage(), u("没有进行粘贴操作"));
    QCOMPARE(p.bytes(), before);
    p.dialogs().answerNextQuestion(true);
    p.click("Command6");
    QCOMPARE(p.dialogs().lastMessage(),
             u("已经把") + name3 + u("的数据粘贴到") + p.list1->entries()->label(7) + u("上"));

    Bytes expected = before;
    std::copy(before.begin() + 0x211010, before.begin() + 0x211560, expected.begin() + 0x212550);
    QCOMPARE(p.bytes(), expected);
    // The page now shows the pasted record, so a write does not undo the paste.
    QCOMPARE(p.child<QComboBox>(unitField("code"))->currentIndex(), 3);
    p.click("Command3");
    QCOMPARE(p.bytes(), expected);
}

void UnitPageTest::patchesRefreshThePage() {
    Page p;
    const Bytes before = p.bytes();
    p.selectUnit(4);  // the demo's unit 4 has steps A5 3F
    p.click("Command4");
    p.click("Command7");
    QVERIFY(p.dialogs().questions.isEmpty());
    for (const QString& box : {unitField("step-en"), unitField("step-hp"), unitField("step-armor"),
                               unitField("step-mobility")})
        QCOMPARE(p.text(box), QString("10"));
    QCOMPARE(p.text(unitField("chips")), QString("4"));
    QCOMPARE(p.text("Text37"), QString("AAAA"));
    std::size_t changed = 0;
    for (std::size_t at : differences(before, p.bytes())) {
        const std::size_t in = (at - p.unitAt(0)) % 1360;
        QVERIFY(at >= p.unitAt(0) && at < p.unitAt(481 - 1) + 1360 &&
                (in == 58 || in == 59 || in == 61));
        ++changed;
    }
    QVERIFY(changed > 0);
    p.click("Command3");  // writing the shown unit keeps the patched values
    QCOMPARE(p.bytes()[p.unitAt(4) + 58], std::uint8_t{0xAA});
}

void UnitPageTest::aChoiceBoxCompletesTypedText() {
    Page p;
    p.selectUnit(5);
    p.selectSlot(2);
    p.clickTab("SSTab2", 1);
    auto* kind = p.child<QComboBox>(weaponField("kind"));
    QTest::mouseClick(kind->lineEdit(), Qt::LeftButton);
    QTest::keyClick(kind->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(kind->lineEdit(), "0a");
    QCOMPARE(kind->currentText(), u("0a－合体技"));
    QTest::keyClick(kind->lineEdit(), Qt::Key_Return);
    QCOMPARE(kind->currentIndex(), 10);
}

VORLAN_WIDGET_TEST_MAIN(UnitPageTest)
// A code cut to its field or completed with a 0: the 文本显示 box shows what a write stores,
// the write says what it did (as vorlan-cli set does), and the page then shows it stored.
void UnitPageTest::aNameStoredOtherThanTypedIsShownAndSaid() {
    const struct {
        QString typed;
        QString stored;
        const char* says;
    } cases[] = {
        {"81418142814", "814181428140", "末尾补 0"},
        {QString("8141").repeated(18), QString("8141").repeated(17), "只有 34 字节"},
    };
    for (const auto& c : cases) {
        Page p;
        const CharTable& chars = p.window().context().session().charTable();
        p.selectUnit(5);
        p.type(unitField("name"), c.typed);
        QCOMPARE(p.text(decodedName(unitTable(), "name")).toStdString(),
                 chars.decode(c.stored.toStdString()));
        p.click("Command3");
        QVERIFY2(p.dialogs().lastMessage().contains(u(c.says)),
                 qPrintable(p.dialogs().lastMessage()));
        QCOMPARE(p.text(unitField("name")), c.stored);
    }
}

// The weapon notice says whether 写入 takes a slot as soon as the choice changes, and a note
// about the unit shown before is cleared once another unit is shown.
void UnitPageTest::theNotesFollowTheUnitAndTheSlot() {
    Page p;
    p.selectUnit(5);
    QCOMPARE(p.note->text(), kNoSlot);
    p.selectSlot(1);
    QCOMPARE(p.note->text(), kSlot);
    p.selectUnit(6);
    QCOMPARE(p.note->text(), kNoSlot);

    p.type(unitField("hp"), "1234");  // an edit pending while a patch writes every unit
    p.click("Command4");
    auto* status = p.child<QLabel>("StatusNote");
    QVERIFY(status->text().contains(u("显示之后")));
    p.dialogs().answerNextUnsaved(Dialogs::Unsaved::Discard);
    p.selectUnit(7);
    QVERIFY2(!status->text().contains(u("显示之后")), qPrintable(status->text()));
}

#include "unit_page_wtest.moc"
