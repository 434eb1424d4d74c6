// "其他修改" driven as a user does: a row or skill chosen from its choice box, boxes edited,
// "写入" writing exactly the edited bytes, and the refusals of a write without a choice.

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "tables/skill_training_table.h"
#include "tables/upgrade_tables.h"
#include "toolkit/text.h"
#include "widgets/support/editor_fixture.h"
#include "widgets/support/field_names.h"
#include "widgets/support/test_main.h"

using namespace vorlan;
using test::fieldName;
using Bytes = std::vector<std::uint8_t>;
using test::differences;

namespace {

struct Tab : test::EditorFixture {
    Tab() {
        showWindow();
        clickTab("SSTab1", 2);
    }
    QString text(const QString& name) { return child<QLineEdit>(name)->text(); }
};

}  // namespace

class OtherTablesTest : public QObject {
    Q_OBJECT
private slots:
    void upgradeRowsShowAndWriteOnlyTheirEdits();
    void skillTrainingShowsAndWrites();
    void writesWithoutAChoiceAreRefused();
};

void OtherTablesTest::upgradeRowsShowAndWriteOnlyTheirEdits() {
    Tab t;
    QCOMPARE(t.child<QComboBox>("Combo31")->count(), 4);
    QVERIFY(t.text(fieldName(upgradeCostTable(), "step1")).isEmpty());
    t.chooseItem("Combo31", 1);  // "EN"
    const Bytes before = t.bytes();
    const std::size_t en = upgradeCostTable().entryOffset(1);
    const std::uint32_t first = before[en] | before[en + 1] << 8 | before[en + 2] << 16 |
                                static_cast<std::uint32_t>(before[en + 3]) << 24;
    QCOMPARE(t.text(fieldName(upgradeCostTable(), "step1")), QString::number(first));
    t.type(fieldName(upgradeCostTable(), "step4"), "-1");
    t.click("Command21");
    for (std::size_t at : differences(before, t.bytes()))
        QVERIFY(at >= en + 12 && at < en + 16);
    const Bytes written = t.bytes();
    QCOMPARE(Bytes(written.begin() + en + 12, written.begin() + en + 16),
             (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    QCOMPARE(t.text(fieldName(upgradeCostTable(), "step4")), QString("4294967295"));

    t.chooseItem("Combo32", 0);  // "第一种"
    t.type(fieldName(upgradeIncrementTable(), "step1"), "1000");
    const Bytes mid = t.bytes();
    t.click("Command22");
    const auto changed = differences(mid, t.bytes());
    QVERIFY(!changed.empty());
    for (std::size_t at : changed)
        QVERIFY(at == 0x2DDDD0 || at == 0x2DDDD1);
    QCOMPARE(t.bytes()[0x2DDDD0], std::uint8_t{0xE8});
    QCOMPARE(t.bytes()[0x2DDDD1], std::uint8_t{0x03});
}

void OtherTablesTest::skillTrainingShowsAndWrites() {
    Tab t;
    auto* combo29 = t.child<QComboBox>("Combo29");
    QCOMPARE(combo29->count(), 32);
    t.chooseItem("Combo29", 31);
    const std::size_t base = skillTrainingTable().entryOffset(31);
    const Bytes before = t.bytes();
    QCOMPARE(t.text(fieldName(skillTrainingTable(), "pp1")), QString::number(before[base + 10]));
    t.type(fieldName(skillTrainingTable(), "name-pointer"), "1234");
    t.type(fieldName(skillTrainingTable(), "pp9"), "99");
    t.click("Command13");
    for (std::size_t at : differences(before, t.bytes()))
        QVERIFY((at >= base && at < base + 4) || at == base + 26);
    QCOMPARE(t.bytes()[base + 1], std::uint8_t{0x34});
    QCOMPARE(t.bytes()[base + 2], std::uint8_t{0x00});
    QCOMPARE(t.bytes()[base + 26], std::uint8_t{99});
    // A lone last digit is refused, naming the box.
    t.type(fieldName(skillTrainingTable(), "text-pointer"), "123");
    const Bytes now = t.bytes();
    t.click("Command13");
    QVERIFY(t.dialogs().lastMessage().contains(u("技能说明指针?")));
    QCOMPARE(t.bytes(), now);
}

void OtherTablesTest::writesWithoutAChoiceAreRefused() {
    Tab t;
    const Bytes before = t.bytes();
    t.click("Command21");
    QVERIFY(t.dialogs().lastMessage().contains(u("机体改造费用")));
    t.click("Command13");
    QVERIFY(t.dialogs().lastMessage().contains(u("选择技能")));
    // Typed text that names no row: nothing is written.
    t.chooseItem("Combo32", 2);
    auto* combo = t.child<QComboBox>("Combo32");
    combo->setFocus();
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), "xyz");
    t.type(fieldName(upgradeIncrementTable(), "step2"), "5");
    t.click("Command22");
    QVERIFY(t.dialogs().lastMessage().contains(u("不是列表中的任何一项")));
    QCOMPARE(t.bytes(), before);
}

VORLAN_WIDGET_TEST_MAIN(OtherTablesTest)
#include "other_tables_wtest.moc"
