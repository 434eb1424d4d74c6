// "比较…" driven as a user does: another executable chosen, its differences listed by table,
// one field taken over by selecting its row, then everything shown, each one undoable write
// of exactly those bytes; bytes outside every field are listed and never written.

#include <QAbstractItemModel>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <QUndoStack>

#include "fixtures/engine.h"
#include "session/editor_context.h"
#include "tables/pilot_table.h"
#include "tables/unit_table.h"
#include "toolkit/text.h"
#include "widgets/support/editor_fixture.h"
#include "widgets/support/test_main.h"

using namespace vorlan;
using Bytes = std::vector<std::uint8_t>;
using test::differences;

namespace {

void set(ByteStore& image, const TableDef& table, int index, const char* key,
         const FieldValue& value) {
    const auto shown = test::showIn(image, table, index);
    auto edited = shown;
    edited[static_cast<std::size_t>(table.fieldIndex(key))] = value;
    test::saveIn(image, table, index, shown, edited);
}

}  // namespace

class CompareTest : public QObject {
    Q_OBJECT
private slots:
    void takesOneFieldThenEverythingShown();
};

void CompareTest::takesOneFieldThenEverythingShown() {
    test::EditorFixture f;
    f.showWindow();
    const Bytes before = f.bytes();
    ByteStore other(before);
    set(other, unitTable(), 5, "hp", FieldValue::ofText("1234"));
    set(other, pilotTable(), 12, "evasion", FieldValue::ofText("180"));
    Bytes otherBytes = other.bytes();
    otherBytes[0x1000] ^= 0xFF;  // code: listed, never written
    const auto otherPath = f.exe().parent_path() / "other.04";
    test::writeFile(otherPath, otherBytes);

    f.dialogs().chooseNextFile(QString::fromStdString(otherPath.string()));
    f.click("CompareButton");
    auto* window = f.window().findChild<QWidget*>("CompareWindow");
    QVERIFY(window != nullptr && QTest::qWaitForWindowExposed(window));
    auto* view = window->findChild<QTreeView*>("CompareList");
    QAbstractItemModel* model = view->model();
    QCOMPARE(model->rowCount(), 3);  // units, pilots, the bytes of no field
    // The value columns are named by their files, not "old" and "new".
    QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), u("SLKV_618.04（打开的）"));
    QCOMPARE(model->headerData(3, Qt::Horizontal).toString(), QString("other.04"));
    QVERIFY(window->findChild<QLabel*>("CompareSummary")->text().contains(u("2 个字段")));

    // The unit's row, selected by a click, taken over.
    const QModelIndex units = model->index(0, 0);
    QCOMPARE(model->rowCount(units), 1);
    const QModelIndex hpRow = model->index(0, 0, units);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(hpRow).center());
    f.dialogs().answerNextPreview(true);
    QTest::mouseClick(window->findChild<QPushButton*>("TakeFields"), Qt::LeftButton);
    QCOMPARE(f.dialogs().previews.size(), 1);
    QCOMPARE(f.dialogs().previews[0].rows.size(), 1);
    const Bytes taken = f.bytes();
    const std::size_t hp = unitTable().entryOffset(5) + 36;
    const auto changed = differences(before, taken);
    QVERIFY(!changed.empty());
    for (std::size_t at : changed)
        QVERIFY(at >= hp && at < hp + 4);
    QCOMPARE(model->rowCount(), 2);  // refreshed: pilots and the bytes of no field

    // Everything shown: the pilot's field; the code byte stays.
    f.dialogs().answerNextPreview(true);
    QTest::mouseClick(window->findChild<QPushButton*>("TakeShown"), Qt::LeftButton);
    Bytes expected = otherBytes;
    expected[0x1000] = before[0x1000];
    QCOMPARE(f.bytes(), expected);
    QCOMPARE(model->rowCount(), 1);

    QUndoStack* undo = f.window().context().history().stack();
    undo->undo();
    QCOMPARE(f.bytes(), taken);
}

VORLAN_WIDGET_TEST_MAIN(CompareTest)
#include "compare_wtest.moc"
