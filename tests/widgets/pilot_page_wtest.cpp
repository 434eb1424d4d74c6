// The pilot tab driven as a user does: picking a pilot, writing only what was edited,
// copy and paste with their own buffer, the hints, and the question before a name shown
// cut short loses the rest of its bytes.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTest>

#include "session/editor_context.h"
#include "tables/pilot_table.h"
#include "tables/unit_table.h"
#include "toolkit/text.h"
#include "widgets/support/editor_fixture.h"
#include "widgets/support/field_names.h"
#include "widgets/support/test_main.h"

using namespace vorlan;
using test::decodedName;
using test::pilotField;
using Bytes = std::vector<std::uint8_t>;
using test::differences;

namespace {

struct Tab : test::EditorFixture {
    Tab() {
        showWindow();
        clickTab("SSTab1", 1);
    }
    void pick(int pilot) { clickRow("List5", pilot); }
    QString text(const QString& name) { return child<QLineEdit>(name)->text(); }
    std::size_t at(int pilot) const { return pilotTable().entryOffset(pilot); }
};

}  // namespace

class PilotPageTest : public QObject {
    Q_OBJECT
private slots:
    void pickingAPilotShowsIt();
    void writeSendsOnlyTheEditedFields();
    void copyAndPasteHaveTheirOwnBuffer();
    void refusalsAndHints();
    void aNameShownCutShortAsksBeforeWriting();
};

void PilotPageTest::pickingAPilotShowsIt() {
    Tab t;
    QCOMPARE(t.child<QListView>("List5")->model()->rowCount(), 485);
    t.pick(1);
    QCOMPARE(t.text("Text41"), QString("1FBCCA"));
    QCOMPARE(t.child<QComboBox>(pilotField("code"))->currentIndex(), 1);
    const Bytes b = t.bytes();
    QCOMPARE(t.text(pilotField("sp")), QString::number(b[t.at(1) + 72]));         // SP
    QCOMPARE(t.text(pilotField("technique")), QString::number(b[t.at(1) + 78]));  // 技量
    QCOMPARE(t.text(pilotField("skill1-lv1")), QString::number(b[t.at(1) + 111]));
    QCOMPARE(t.child<QComboBox>(pilotField("skill1"))->count(), 35);
    QVERIFY(!t.text(decodedName(pilotTable(), "surname")).isEmpty());
    QCOMPARE(t.text(decodedName(pilotTable(), "surname")).toStdString(),
             t.window().context().session().charTable().decode(
                 t.text(pilotField("surname")).toStdString()));
    t.pick(484);
    QCOMPARE(t.text("Text41"), QString("20FD88"));
}

void PilotPageTest::writeSendsOnlyTheEditedFields() {
    Tab t;
    const Bytes before = t.bytes();
    t.pick(6);
    t.click("Command11");  // nothing edited: nothing written
    QCOMPARE(t.bytes(), before);
    t.type(pilotField("evasion"), "201");
    t.type(pilotField("side"), "18");
    t.type(pilotField("skill6-lv9"), "77");
    QVERIFY(t.window().windowTitle().endsWith("*"));
    t.click("Command11");
    const auto changed = differences(before, t.bytes());
    for (std::size_t offset : changed) {
        const std::size_t in = offset - t.at(6);
        QVERIFY2(in == 75 || in == 84 || in == 169, qPrintable(QString::number(in)));
    }
    QCOMPARE(t.bytes()[t.at(6) + 75], std::uint8_t{201});
    QCOMPARE(t.bytes()[t.at(6) + 84], std::uint8_t{0x18});
    QCOMPARE(t.bytes()[t.at(6) + 169], std::uint8_t{77});
    QVERIFY(!t.window().windowTitle().endsWith("*"));
    QVERIFY(t.child<QLabel>("StatusNote")->text().startsWith(u("已写入 机师006：")));
}

void PilotPageTest::copyAndPasteHaveTheirOwnBuffer() {
    Tab t;
    // A unit copied on the unit page is not a pilot.
    t.clickTab("SSTab1", 0);
    t.clickRow("List1", 3);
    t.dialogs().answerNextQuestion(true);
    t.click("Command5");
    t.clickTab("SSTab1", 1);
    const Bytes before = t.bytes();
    t.pick(10);
    t.click("Command17");
    QVERIFY(t.dialogs().lastMessage().contains(u("还没有复制任何机师")));
    QCOMPARE(t.bytes(), before);

    t.pick(3);
    t.dialogs().answerNextQuestion(true);
    t.click("Command16");
    QCOMPARE(t.dialogs().questions.last(), u("将要复制选定机师的数据,是否进行操作"));
    QCOMPARE(t.dialogs().lastMessage(), u("已经复制机师003的数据"));
    // A second copy replaces the first.
    t.pick(4);
    t.dialogs().answerNextQuestion(true);
    t.click("Command16");
    t.pick(10);
    t.dialogs().answerNextQuestion(false);
    t.click("Command17");
    QCOMPARE(t.dialogs().lastMessage(), u("没有进行粘贴操作"));
    QCOMPARE(t.bytes(), before);
    t.dialogs().answerNextQuestion(true);
    t.click("Command17");
    QCOMPARE(t.dialogs().questions.last(),
             u("将要把复制的数据粘贴到选定机师的上,并且直接写入文件,是否进行操作"));
    QCOMPARE(t.dialogs().lastMessage(), u("已经把机师004的数据粘贴到机师010上"));
    Bytes expected = before;
    std::copy(before.begin() + static_cast<std::ptrdiff_t>(t.at(4)),
              before.begin() + static_cast<std::ptrdiff_t>(t.at(4) + 170),
              expected.begin() + static_cast<std::ptrdiff_t>(t.at(10)));
    QCOMPARE(t.bytes(), expected);
    // The tab shows the pasted record, with pilot 10's offset, so a write keeps the paste.
    QCOMPARE(t.child<QComboBox>(pilotField("code"))->currentIndex(), 4);
    QCOMPARE(t.text("Text41"), QString::number(t.at(10), 16).toUpper());
    t.click("Command11");
    QCOMPARE(t.bytes(), expected);
}

void PilotPageTest::refusalsAndHints() {
    Tab t;
    for (const char* b : {"Command11", "Command16", "Command17"}) {
        t.click(b);
        QVERIFY(t.dialogs().lastMessage().contains(u("选择机师")));
    }
    t.click("Command12");
    QCOMPARE(t.dialogs().lastMessage(), u("敌我判定：X0、X2－敌方或非驾驶员,X8、X9、XA－我方"));
    t.click("Command18");
    QCOMPARE(t.dialogs().lastMessage(),
             u("换乘类型：00－不能换乘，01－UC系，02－W系，04－魔神系，08－盖塔系"));
    t.click("Command19");
    QCOMPARE(t.dialogs().lastMessage(),
             u("要把敌方人物改为可用,方法是把敌人数据粘贴到我方废弃人物上，然后再把废弃我方人物的"
               "敌我判定改为18"));
    // A bad value is refused, names its field, and brings its inner page forward.
    t.pick(2);
    const Bytes before = t.bytes();
    t.clickTab("SSTab3", 1);
    t.type(pilotField("spirit3-sp"), "300");
    t.clickTab("SSTab3", 0);
    t.click("Command11");
    QCOMPARE(t.bytes(), before);
    QVERIFY(t.dialogs().lastMessage().contains(u("消耗SP")));
    QCOMPARE(t.child<QTabWidget>("SSTab3")->currentIndex(), 1);
}

void PilotPageTest::aNameShownCutShortAsksBeforeWriting() {
    Tab t;
    Bytes b = t.bytes();
    const std::size_t surname = t.at(8) + 23;
    std::fill(b.begin() + static_cast<std::ptrdiff_t>(surname),
              b.begin() + static_cast<std::ptrdiff_t>(surname + 21), 0);
    b[surname] = 0x81;  // 81 00 05 93 FA: shown as "81"
    b[surname + 2] = 0x05;
    b[surname + 3] = 0x93;
    b[surname + 4] = 0xFA;
    test::writeFile(t.exe(), b);
    t.pick(8);
    QCOMPARE(t.text(pilotField("surname")), QString("81"));
    t.type(pilotField("surname"), "82");
    t.dialogs().answerNextQuestion(false);
    t.click("Command11");
    QVERIFY(t.dialogs().questions.last().contains(u("机师姓")));
    QCOMPARE(t.dialogs().lastMessage(), u("没有写入任何内容。"));
    QCOMPARE(t.bytes(), b);
    t.dialogs().answerNextQuestion(true);
    t.click("Command11");
    QCOMPARE(t.bytes()[surname], std::uint8_t{0x82});
    QCOMPARE(t.bytes()[surname + 3], std::uint8_t{0x00});
}

VORLAN_WIDGET_TEST_MAIN(PilotPageTest)
#include "pilot_page_wtest.moc"
