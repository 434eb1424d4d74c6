// The table grid driven as a user does: opened from a page on the entry shown there, a cell
// clicked and typed over and "写入" writing that field only, every refused cell named at once,
// sort and filter keeping the selection and a sorted grid keeping its order while typed in,
// undo from the grid itself, export and an import through its preview as one undo step, and
// the question before pending edits are dropped.

#include <QAbstractProxyModel>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QUndoStack>

#include "pages/table_grid_window.h"
#include "session/editor_context.h"
#include "tables/unit_table.h"
#include "toolkit/table_model.h"
#include "toolkit/text.h"
#include "widgets/support/editor_fixture.h"
#include "widgets/support/test_main.h"

using namespace vorlan;
using Bytes = std::vector<std::uint8_t>;
using test::differences;
using Unsaved = Dialogs::Unsaved;

namespace {

struct Grid : test::EditorFixture {
    QWidget* grid = nullptr;
    QTableView* view = nullptr;

    // The unit grid, opened with the 表格 button while unit `shown` is on the page.
    explicit Grid(int shown) {
        showWindow();
        clickRow("List1", shown);
        click("GridUnits");
        grid = window().findChild<QWidget*>("Grid_unit");
        if (grid == nullptr || !QTest::qWaitForWindowExposed(grid))
            qFatal("the unit grid was not shown");
        view = grid->findChild<QTableView*>("Grid");
    }
    const TableModel& model() const {
        return *static_cast<const TableModel*>(
            static_cast<QAbstractProxyModel*>(view->model())->sourceModel());
    }
    // The entry shown in the view's current row.
    int currentEntry() const {
        return static_cast<QAbstractProxyModel*>(view->model())
            ->mapToSource(view->currentIndex())
            .row();
    }
    int column(const char* key) const { return model().columnOf(unitTable().fieldIndex(key)); }
    // Clicks the cell of `entry` and `key` (or the text of that name, `decoded`) and types
    // `text` over it, then Enter.
    void typeInCell(int entry, const char* key, const QString& text, bool decoded = false) {
        auto* proxy = static_cast<QAbstractProxyModel*>(view->model());
        const QModelIndex at =
            proxy->mapFromSource(model().index(entry, column(key) + (decoded ? 1 : 0)));
        view->scrollTo(at);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(at).center());
        QTest::keyClick(view, Qt::Key_F2);  // the cell's editor, its text selected
        test::typeKeys(QApplication::focusWidget(), text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();  // the item view commits the editor queued
    }
    void press(const char* name) {
        QTest::mouseClick(grid->findChild<QPushButton*>(name), Qt::LeftButton);
    }
    void clickHeader(const char* key) {
        QHeaderView* header = view->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column(key)) + 5, 5));
    }
    // The entry shown in row `row` of the view, as it stands on screen.
    int entryAt(int row) const {
        auto* proxy = static_cast<QAbstractProxyModel*>(view->model());
        return proxy->mapToSource(proxy->index(row, 0)).row();
    }
    QString cell(int entry, const char* key) const {
        return model().index(entry, column(key)).data().toString();
    }
    bool marked(int entry, const char* key) const {
        return model().index(entry, column(key)).data(Qt::BackgroundRole).isValid();
    }
    QUndoStack* undo() { return window().context().history().stack(); }
    std::size_t hpAt(int unit) const { return unitTable().entryOffset(unit) + 36; }
};

}  // namespace

class TableGridTest : public QObject {
    Q_OBJECT
private slots:
    void aTypedCellWritesThatFieldOnly();
    void sortAndFilterKeepTheSelection();
    void everyRefusedCellIsNamedAndTheFirstShown();
    void aSortedGridKeepsItsOrderUntilAHeaderClick();
    void undoAndRedoWorkFromTheGrid();
    void exportThenImportThroughThePreviewIsOneUndoStep();
    void pendingEditsAreAskedAboutOnClose();
    void oddFilesGetAMessageAndNotes();
    void aNameTypedAsTextBecomesItsCodesWithANote();
    void aTableFileDroppedOnTheGridIsImported();
    void fileDialogsStartBesideTheExecutableAndRememberTheFolder();
};

void TableGridTest::aTypedCellWritesThatFieldOnly() {
    Grid g(5);
    QCOMPARE(g.currentEntry(), 5);
    const Bytes before = g.bytes();
    g.typeInCell(7, "hp", "1234");
    QVERIFY(g.model().hasEdits());
    QVERIFY(g.grid->windowTitle().endsWith("*"));
    QCOMPARE(g.window().windowTitle(), u("VORLAN静态修改器V1.20 *"));
    g.press("GridWrite");
    const Bytes after = g.bytes();
    const auto changed = differences(before, after);
    QVERIFY(!changed.empty());
    for (std::size_t at : changed)
        QVERIFY2(at >= g.hpAt(7) && at < g.hpAt(7) + 4, qPrintable(QString::number(at, 16)));
    QCOMPARE(Bytes(after.begin() + static_cast<long>(g.hpAt(7)),
                   after.begin() + static_cast<long>(g.hpAt(7) + 4)),
             (Bytes{0xD2, 0x04, 0x00, 0x00}));
    QVERIFY(!g.model().hasEdits());
    QVERIFY(g.child<QLabel>("StatusNote")->text().contains(u("1 个条目的 1 个字段")));

    // A value out of range is refused, marked, and nothing is written.
    g.typeInCell(8, "en", "70000");
    g.press("GridWrite");
    QVERIFY(g.dialogs().lastMessage().contains("EN"));
    QCOMPARE(g.bytes(), after);
    QCOMPARE(g.currentEntry(), 8);

    // A name code of an odd count of digits is completed, and the write says so.
    const int said = g.dialogs().messages.size();
    g.typeInCell(8, "en", "77");  // mends the refused cell
    g.typeInCell(9, "name", "85F3857");
    g.press("GridWrite");
    QCOMPARE(g.dialogs().messages.size(), said + 1);
    QVERIFY2(g.dialogs().lastMessage().contains(u("末尾补 0 写入：85F38570")),
             qPrintable(g.dialogs().lastMessage()));
    QCOMPARE(g.cell(9, "name").left(8), QString("85F38570"));
}

void TableGridTest::sortAndFilterKeepTheSelection() {
    Grid g(12);
    QCOMPARE(g.currentEntry(), 12);
    // Sorting by HP moves the rows; the entry picked stays picked.
    QTest::mouseClick(
        g.view->horizontalHeader()->viewport(), Qt::LeftButton, {},
        QPoint(g.view->horizontalHeader()->sectionViewportPosition(g.column("hp")) + 5, 5));
    QCOMPARE(g.currentEntry(), 12);
    auto* filter = g.grid->findChild<QLineEdit*>("GridFilter");
    filter->setFocus();
    QTest::keyClicks(filter, "12");
    QCOMPARE(g.currentEntry(), 12);
    const int shown = g.view->model()->rowCount();
    QVERIFY(shown > 0 && shown < 481);
    QVERIFY(
        g.grid->findChild<QLabel*>("GridCount")->text().contains(QString("%1 / 481").arg(shown)));
}

void TableGridTest::everyRefusedCellIsNamedAndTheFirstShown() {
    Grid g(5);
    const Bytes before = g.bytes();
    g.typeInCell(3, "en", "99999");
    g.typeInCell(7, "hp", "1234");
    g.typeInCell(451, "move", "70000");
    // The first bad cell is filtered out when "写入" is pressed.
    auto* filter = g.grid->findChild<QLineEdit*>("GridFilter");
    filter->setFocus();
    QTest::keyClicks(filter, "451");
    QVERIFY(g.view->model()->rowCount() < 20);
    g.press("GridWrite");
    QCOMPARE(g.bytes(), before);
    const QString message = g.dialogs().lastMessage();
    for (const QString& line : {u("机体003 「EN」 99999 — 应为 0 到 65535 之间的整数"),
                                u("机体451 「移动力」 70000 — 应为 0 到 65535 之间的整数")})
        QVERIFY2(message.contains(line), qPrintable(message));
    QVERIFY(!message.contains(u("机体007")));
    QVERIFY(g.marked(3, "en") && g.marked(451, "move"));
    // The first is shown, selected, with the rows around it.
    QCOMPARE(g.currentEntry(), 3);
    QCOMPARE(g.view->currentIndex().column(), g.column("en"));
    QVERIFY(g.view->viewport()->rect().contains(g.view->visualRect(g.view->currentIndex())));
    QVERIFY(g.view->model()->rowCount() > 20);
}

void TableGridTest::aSortedGridKeepsItsOrderUntilAHeaderClick() {
    Grid g(12);
    g.clickHeader("hp");
    const int top = g.entryAt(0);
    const int second = g.entryAt(1);
    // The smallest HP made the largest: the row stays where it is, and so does the next.
    g.typeInCell(top, "hp", "999999");
    QCOMPARE(g.entryAt(0), top);
    QCOMPARE(g.currentEntry(), top);
    g.typeInCell(second, "hp", "999998");
    QCOMPARE(g.entryAt(1), second);
    QCOMPARE(g.model().edits().size(), std::size_t{2});
    QCOMPARE(g.cell(top, "hp"), QString("999999"));
    // A filter every row passes shows them in the order they had.
    auto* filter = g.grid->findChild<QLineEdit*>("GridFilter");
    filter->setFocus();
    for (const QChar c : u("机体"))  // key events carrying the characters, as typed
        QTest::sendKeyEvent(QTest::Click, filter, Qt::Key_unknown, QString(c), {});
    QCOMPARE(g.view->model()->rowCount(), 481);
    QCOMPARE(g.entryAt(0), top);
    QCOMPARE(g.entryAt(1), second);
    // A click on the header sorts again, the edited row still selected.
    g.clickHeader("hp");
    QCOMPARE(g.currentEntry(), second);
    const int last = g.view->model()->rowCount() - 1;
    QVERIFY((g.entryAt(0) == top && g.entryAt(1) == second) ||
            (g.entryAt(last) == top && g.entryAt(last - 1) == second));
}

void TableGridTest::undoAndRedoWorkFromTheGrid() {
    Grid g(5);
    auto* undo = g.grid->findChild<QPushButton*>("GridUndo");
    auto* redo = g.grid->findChild<QPushButton*>("GridRedo");
    QVERIFY(undo != nullptr && redo != nullptr);
    QVERIFY(!undo->isEnabled() && !redo->isEnabled());
    const Bytes before = g.bytes();
    const QString hp = g.cell(7, "hp");
    g.typeInCell(7, "hp", "1234");
    g.press("GridWrite");
    const Bytes written = g.bytes();
    QVERIFY(written != before);
    QVERIFY(undo->isEnabled());
    // Ctrl+Z in the grid, the main window left behind it.
    QVERIFY(QTest::qWaitForWindowActive(g.grid));
    QTest::keyClick(g.view, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(g.bytes(), before);
    QCOMPARE(g.cell(7, "hp"), hp);
    QCOMPARE(g.currentEntry(), 7);
    QVERIFY(redo->isEnabled());
    QTest::keyClick(g.view, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(g.bytes(), written);
    QCOMPARE(g.cell(7, "hp"), QString("1234"));
    g.press("GridUndo");
    QCOMPARE(g.bytes(), before);
    g.press("GridRedo");
    QCOMPARE(g.bytes(), written);
    QCOMPARE(QApplication::activeWindow(), g.grid);
}

void TableGridTest::exportThenImportThroughThePreviewIsOneUndoStep() {
    Grid g(0);
    const Bytes before = g.bytes();
    const auto file = g.exe().parent_path() / "units.csv";
    g.dialogs().chooseNextFile(QString::fromStdString(file.string()));
    g.press("GridExport");
    std::string csv;
    {
        const Bytes b = test::readFile(file);
        csv.assign(b.begin(), b.end());
    }
    // Unit 3's HP changed the way a script would: the row's fifth cell.
    const auto row = csv.find("\r\n3,");
    auto cell = row + 2;
    for (int c = 0; c < 5; ++c)
        cell = csv.find(',', cell) + 1;
    csv.replace(cell, csv.find(',', cell) - cell, "4321");
    test::writeText(file, csv);

    const int steps = g.undo()->count();
    g.dialogs().chooseNextFile(QString::fromStdString(file.string()));
    g.dialogs().answerNextPreview(true);
    g.press("GridImport");
    QCOMPARE(g.dialogs().previews.size(), 1);
    QCOMPARE(g.dialogs().previews[0].rows.size(), 1);
    QCOMPARE(g.dialogs().previews[0].rows[0].after, QString("4321"));
    const auto changed = differences(before, g.bytes());
    QVERIFY(!changed.empty());
    for (std::size_t at : changed)
        QVERIFY(at >= g.hpAt(3) && at < g.hpAt(3) + 4);
    QCOMPARE(g.undo()->count(), steps + 1);
    // The write is named as what was done, in its message and in the history.
    auto* note = g.child<QLabel>("StatusNote");
    const QString name = u("导入 units.csv（1 个条目的 1 个字段）");
    QVERIFY2(note->text().startsWith(u("已写入 ") + name), qPrintable(note->text()));
    g.press("GridUndo");
    QCOMPARE(g.bytes(), before);
    QCOMPARE(note->text(), u("已撤销：") + name);
}

void TableGridTest::pendingEditsAreAskedAboutOnClose() {
    Grid g(2);
    g.typeInCell(2, "en", "77");
    g.dialogs().answerNextUnsaved(Unsaved::Cancel);
    g.press("GridClose");
    QVERIFY(g.grid->isVisible());
    QVERIFY(g.model().hasEdits());
    g.dialogs().answerNextUnsaved(Unsaved::Discard);
    const Bytes before = g.bytes();
    g.press("GridClose");
    QTRY_VERIFY(g.window().findChild<QWidget*>("Grid_unit") == nullptr);
    QCOMPARE(g.bytes(), before);
    QCOMPARE(g.window().windowTitle(), u("VORLAN静态修改器V1.20"));
}

// A file nested far too deep is refused with a message of a line; a name cut to its field is
// noted in the preview.
void TableGridTest::oddFilesGetAMessageAndNotes() {
    Grid g(0);
    const Bytes before = g.bytes();
    const auto file = g.exe().parent_path() / "units.json";
    const std::string deep = std::string(200000, '[') + std::string(200000, ']');
    test::writeText(file,
                    R"({"table":"unit","entries":[{"index":1,"values":{"hp":)" + deep + "}}]}");
    g.dialogs().chooseNextFile(QString::fromStdString(file.string()));
    g.press("GridImport");
    QVERIFY2(g.dialogs().lastMessage().contains(u("嵌套")), qPrintable(g.dialogs().lastMessage()));
    QVERIFY(g.dialogs().lastMessage().size() < 200);

    test::writeText(
        file, R"({"entries":[{"index":1,"values":{"name":")" + std::string(100, '4') + "\"}}]}");
    g.dialogs().chooseNextFile(QString::fromStdString(file.string()));
    g.dialogs().answerNextPreview(false);
    g.press("GridImport");
    QCOMPARE(g.dialogs().previews.size(), 1);
    QCOMPARE(g.dialogs().previews[0].notes.size(), 1);
    QVERIFY2(g.dialogs().previews[0].notes[0].contains(u("第 69 位起的 32 位没有写入")),
             qPrintable(g.dialogs().previews[0].notes[0]));
    QCOMPARE(g.bytes(), before);
}

// The text column takes characters for the name's codes; the note under the grid says what
// the current name cell will store, before any write. A refusal speaks the editor's words.
void TableGridTest::aNameTypedAsTextBecomesItsCodesWithANote() {
    Grid g(5);
    const Bytes before = g.bytes();
    auto* note = g.grid->findChild<QLabel*>("GridNote");
    g.typeInCell(6, "name", u("银翼王"), true);
    QCOMPARE(g.cell(6, "name"), QString("94A6949B9245"));
    QVERIFY(g.marked(6, "name"));
    QVERIFY2(note->toolTip().contains(u("6 / 34 字节")), qPrintable(note->toolTip()));
    // A character without a code changes nothing and is named.
    g.typeInCell(7, "name", u("银☃"), true);
    QVERIFY2(g.dialogs().lastMessage().contains(u("「☃」没有字码")),
             qPrintable(g.dialogs().lastMessage()));
    QVERIFY(!g.marked(7, "name"));
    g.typeInCell(7, "name", "94A6FFFF");
    QVERIFY2(note->toolTip().contains(u("1 个字码没有对应的字：FFFF")),
             qPrintable(note->toolTip()));
    g.typeInCell(7, "size", "xyz");
    QVERIFY(!g.dialogs().lastMessage().contains("fields"));
    QCOMPARE(g.bytes(), before);
}

void TableGridTest::aTableFileDroppedOnTheGridIsImported() {
    Grid g(5);
    const auto file = g.exe().parent_path() / "units.json";
    g.dialogs().chooseNextFile(QString::fromStdString(file.string()));
    g.press("GridExport");
    const Bytes exported = test::readFile(file);
    std::string json(exported.begin(), exported.end());
    const std::string hp = "\"hp\": ";
    const auto at = json.find(hp) + hp.size();
    json.replace(at, json.find(',', at) - at, "4321");
    test::writeText(file, json);
    g.dialogs().answerNextPreview(false);
    QVERIFY(test::dropFile(*g.grid, file));
    QTRY_COMPARE(g.dialogs().previews.size(), 1);
    QCOMPARE(g.dialogs().previews[0].rows[0].after, QString("4321"));
    QVERIFY(g.dialogs().messages.isEmpty());
}

void TableGridTest::fileDialogsStartBesideTheExecutableAndRememberTheFolder() {
    Grid g(5);
    const QString besideExe = QString::fromStdString(g.exe().parent_path().string());
    const auto other = g.exe().parent_path() / "exports";
    std::filesystem::create_directories(other);
    g.dialogs().chooseNextFile(QString::fromStdString((other / "u.json").string()));
    g.press("GridExport");
    QVERIFY2(g.dialogs().starts.last().startsWith(besideExe + QDir::separator() + "unit"),
             qPrintable(g.dialogs().starts.last()));
    g.dialogs().chooseNextFile(QString());
    g.press("GridImport");
    QCOMPARE(g.dialogs().starts.last(), QString::fromStdString(other.string()));
}

VORLAN_WIDGET_TEST_MAIN(TableGridTest)
#include "table_grid_wtest.moc"
