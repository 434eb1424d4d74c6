// The habits of a desktop editor kept open for hours: the last files and the window's layout
// remembered across runs, files dropped on the window opened, a window that fits a small
// screen at 150 %, and keys that work everywhere (Ctrl+Tab, Ctrl+PgDn, F1, Ctrl+Z where
// typing is and where it is not).

#include <QComboBox>
#include <QDragEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include "schema/record_counts.h"
#include "session/editor_context.h"
#include "tables/unit_table.h"
#include "toolkit/dialogs.h"
#include "toolkit/entry_list_model.h"
#include "toolkit/entry_list_view.h"
#include "toolkit/text.h"
#include "widgets/support/editor_fixture.h"
#include "widgets/support/field_names.h"
#include "widgets/support/test_main.h"

using namespace vorlan;
using test::pilotField;
using test::unitField;
using Bytes = std::vector<std::uint8_t>;

namespace {

// The scroll area a page is shown in.
QScrollArea* scrollerOf(QWidget* w) {
    while (w != nullptr && qobject_cast<QScrollArea*>(w) == nullptr)
        w = w->parentWidget();
    return static_cast<QScrollArea*>(w);
}

}  // namespace

class DesktopHabitsTest : public QObject {
    Q_OBJECT
private slots:
    void recentFilesAndLayoutSurviveARestart();
    void aDroppedExecutableOrImageIsOpened();
    void aFileDroppedOnABoxIsOpenedNotTyped();
    void theWindowFitsASmallScreenAt150Percent();
    void theOtherPageFitsTheDefaultWindow();
    void theUsageGuideWrapsAndStartsAtItsTop();
    void keysWorkEverywhere();
    void aPageFirstShownAfterAnOpenShowsTheFile();
    void messagesShowFileTextAsPlainText();
    void fileFiltersShowTheirPatternOnce();
    void theMenuBarHoldsEveryActionWithItsKey();
    void writeButtonsStayInViewAt150Percent();
    void fileDialogsStartBesideTheFileAndOfferEveryFormat();
};

void DesktopHabitsTest::recentFilesAndLayoutSurviveARestart() {
    test::TempDir config;
    const QString ini = QString::fromStdString((config / "vorlan-editor.ini").string());
    test::EditorFixture f(false);
    const auto second = f.exe().parent_path() / "copy.04";
    test::writeFile(second, f.bytes());
    {
        QSettings settings(ini, QSettings::IniFormat);
        f.window().useSettings(&settings);
        QVERIFY(f.window().openExecutable(QString::fromStdString(second.string())));
        QVERIFY(f.window().openExecutable(QString::fromStdString(f.exe().string())));
        f.showWindow();
        f.clickTab("SSTab1", 2);
        f.window().close();
    }
    // A second run of the window with the same settings file.
    test::ScriptedDialogs dialogs;
    MainWindow again(dialogs, QString::fromStdString(f.dataDir().string()));
    QSettings settings(ini, QSettings::IniFormat);
    again.useSettings(&settings);
    QCOMPARE(again.lastExecutable(), QString::fromStdString(f.exe().string()));
    QCOMPARE(settings.value("recent/files").toStringList().size(), 2);
    QCOMPARE(again.findChild<QTabWidget*>("SSTab1")->currentIndex(), 2);

    // Settings whose folder cannot be made (a file has its name) are said to be lost, once.
    test::writeText(config / "taken", "a file where the settings folder goes");
    QSettings lost(QString::fromStdString((config / "taken" / "vorlan-editor.ini").string()),
                   QSettings::IniFormat);
    test::EditorFixture g(false);
    g.window().useSettings(&lost);
    for (const auto& file : {second, f.exe()})
        QVERIFY(g.window().openExecutable(QString::fromStdString(file.string())));
    QCOMPARE(g.dialogs().messages.filter(u("无法保存本程序的设置")).size(), 1);
}

void DesktopHabitsTest::aDroppedExecutableOrImageIsOpened() {
    test::EditorFixture f(false);
    f.showWindow();
    QVERIFY(test::dropFile(f.window(), f.exe()));
    QCOMPARE(f.window().context().session().exepath(), QString::fromStdString(f.exe().string()));
    QCOMPARE(f.child<QLineEdit>("Text1")->text(), QString::fromStdString(f.exe().string()));
    // Something as large as a disc goes to the image tool, which says why it is refused.
    const auto image = f.exe().parent_path() / "not-a-disc.iso";
    test::writeFile(image, Bytes(741376 + 3542016, 0));
    QVERIFY(test::dropFile(f.window(), image));
    QCOMPARE(f.child<QTabWidget>("SSTab1")->currentIndex(), 4);
    QVERIFY(f.dialogs().lastMessage().contains("ISO 9660"));
    QCOMPARE(f.window().context().session().exepath(), QString::fromStdString(f.exe().string()));
}

void DesktopHabitsTest::aFileDroppedOnABoxIsOpenedNotTyped() {
    test::EditorFixture f;
    f.showWindow();
    f.clickRow("List1", 5);
    const auto copy = f.exe().parent_path() / "copy.04";
    test::writeFile(copy, f.bytes());
    // A text box and a choice box's field, each given the other file: it opens without a
    // question about unsaved edits (the scripted dialogs have none), and no box took the path.
    const std::pair<QLineEdit*, std::filesystem::path> drops[] = {
        {f.child<QLineEdit>(unitField("hp")), copy},
        {f.child<QComboBox>(unitField("code"))->lineEdit(), f.exe()}};
    for (const auto& [box, file] : drops) {
        QVERIFY(test::dropFile(*box, file));
        QCOMPARE(f.window().context().session().exepath(), QString::fromStdString(file.string()));
        QVERIFY2(!box->text().contains(".04"), qPrintable(box->text()));
        QVERIFY(!f.window().context().pending().hasPending());
    }
    // Text dragged within the program still lands in a box (of an entry picked).
    f.clickRow("List1", 5);
    QMimeData text;
    text.setText("123");
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.child<QLineEdit>(unitField("en")), &enter);
    QVERIFY(enter.isAccepted());
}

void DesktopHabitsTest::theWindowFitsASmallScreenAt150Percent() {
    test::EditorFixture f;
    // 1280 × 720 at 150 % leaves 853 × 480 device-independent pixels, less the frame.
    const QSize least = f.window().minimumSizeHint();
    QVERIFY2(least.width() <= 840 && least.height() <= 440,
             qPrintable(QString("%1 x %2").arg(least.width()).arg(least.height())));
    f.showWindow();
    const int width = f.window().width();
    // The history shows without squeezing the unit page: the page does not scroll sideways.
    f.click("HistoryButton");
    QCoreApplication::processEvents();
    QVERIFY(f.child<QWidget>("HistoryView")->isVisible());
    QVERIFY(!scrollerOf(f.child<QWidget>("UnitPage"))->horizontalScrollBar()->isVisible());
    f.click("HistoryButton");
    QVERIFY(!f.child<QWidget>("HistoryView")->isVisible());
    QCOMPARE(f.window().width(), width);  // the history does not widen the window for good
}

void DesktopHabitsTest::theOtherPageFitsTheDefaultWindow() {
    test::EditorFixture f;
    f.showWindow();
    f.window().resize(940, 690);
    f.clickTab("SSTab1", 2);
    QCoreApplication::processEvents();
    QVERIFY(!scrollerOf(f.child<QWidget>("Frame19"))->horizontalScrollBar()->isVisible());
}

void DesktopHabitsTest::theUsageGuideWrapsAndStartsAtItsTop() {
    test::EditorFixture f;
    f.showWindow();
    f.window().resize(840, 440);  // 1280 × 720 at 150 %
    QTest::keyClick(&f.window(), Qt::Key_F1);
    auto* guide = f.child<QPlainTextEdit>("Text56");
    QCoreApplication::processEvents();
    QCOMPARE(guide->horizontalScrollBar()->maximum(), 0);  // its lines wrap
    QCOMPARE(guide->verticalScrollBar()->value(), 0);
    // Read to its end, then shown again after the reference: from its first line again.
    QTest::keyClick(guide->verticalScrollBar(), Qt::Key_End);
    QVERIFY(guide->verticalScrollBar()->value() > 0);
    QTest::mouseClick(f.child<QRadioButton>("Option2"), Qt::LeftButton);
    QTest::mouseClick(f.child<QRadioButton>("Option1"), Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(guide->verticalScrollBar()->value(), 0);
    QCOMPARE(guide->horizontalScrollBar()->maximum(), 0);
    // It names where the region key is in the words of the system it runs on.
#ifdef _WIN32
    QVERIFY(guide->toPlainText().contains(u("密钥在 %APPDATA%\\vorlan\\region.key")));
#else
    QVERIFY(guide->toPlainText().contains(u("密钥在 ~/.config/vorlan/region.key")));
#endif
}

void DesktopHabitsTest::keysWorkEverywhere() {
    test::EditorFixture f;
    f.showWindow();
    auto* tabs = f.child<QTabWidget>("SSTab1");
    QTest::keyClick(&f.window(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 1);
    QTest::keyClick(&f.window(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(tabs->currentIndex(), 0);
    QTest::keyClick(&f.window(), Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(f.child<QTabWidget>("SSTab2")->currentIndex(), 1);

    // Ctrl+Z in a box with typing undoes the typing; in a box without, the last write.
    f.clickTab("SSTab2", 0);
    f.clickRow("List1", 5);
    const Bytes before = f.bytes();
    f.type(unitField("hp"), "4242");
    f.click("Command3");
    QVERIFY(f.bytes() != before);
    auto* en = f.child<QLineEdit>(unitField("en"));
    const QString enBefore = en->text();
    f.type(unitField("en"), "9");
    QTest::keyClick(en, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(en->text(), enBefore);
    QVERIFY(f.bytes() != before);
    QTest::keyClick(en, Qt::Key_Z, Qt::ControlModifier);
    QTRY_COMPARE(f.bytes(), before);

    QTest::keyClick(&f.window(), Qt::Key_F1);
    QCOMPARE(tabs->currentIndex(), 4);
    QVERIFY(!f.child<QPlainTextEdit>("Text56")->toPlainText().isEmpty());
}

void DesktopHabitsTest::aPageFirstShownAfterAnOpenShowsTheFile() {
    test::EditorFixture f;
    f.showWindow();
    // The unit list takes the keyboard first; only the page on show is built, the pilot page
    // comes with a click on its tab.
    QTRY_VERIFY(QApplication::focusWidget() != nullptr);
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("List1"));
    QVERIFY(f.window().findChild<QWidget*>("List1") != nullptr);
    QVERIFY(f.window().findChild<QWidget*>("PilotPage") == nullptr);
    auto* tabs = f.window().findChild<QTabWidget*>("SSTab1");
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(1).center());
    auto* pilots = f.window().findChild<EntryListView*>("List5");
    QVERIFY(pilots != nullptr);
    QCOMPARE(pilots->entries()->rowCount(), kPilotCount);
    f.clickRow("List5", 3);
    QVERIFY(!f.child<QLineEdit>(pilotField("surname"))->text().isEmpty());
}

VORLAN_WIDGET_TEST_MAIN(DesktopHabitsTest)
// A message quoting a file's text (a CSV cell, a list label) shows it as it is: markup is not
// drawn and control characters are shown as codes.
void DesktopHabitsTest::messagesShowFileTextAsPlainText() {
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        shown = box->text();
        format = box->textFormat();
        box->accept();
    });
    WidgetDialogs dialogs;
    dialogs.information(nullptr, u("第 2 行 label：<img src=x>\x1b[2J\n下一行"));
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(shown, u("第 2 行 label：<img src=x>\\x1B[2J\n下一行"));
}

void DesktopHabitsTest::fileFiltersShowTheirPatternOnce() {
    const std::pair<const char*, const char*> cases[] = {
        {"SLKV_618.04(SLKV_618.04) | SLKV_618.04 | 所有文件 (*) | *", "SLKV_618.04;;所有文件 (*)"},
        {"VORLAN镜像文件(*.*) | *.*", "VORLAN镜像文件 (*.*)"},
        {"补丁文件(*.bps, *.ips) | *.bps *.ips", "补丁文件 (*.bps *.ips)"},
        {"CSV 文件 (*.csv) | *.csv | JSON 文件 (*.json) | *.json",
         "CSV 文件 (*.csv);;JSON 文件 (*.json)"},
    };
    for (const auto& [filter, shown] : cases)
        QCOMPARE(toQtFilter(u(filter)), u(shown));
}

// 文件 / 编辑 / 表格 / 镜像 / 帮助, each action with its key; chosen with the mouse they do what
// their buttons and keys do.
void DesktopHabitsTest::theMenuBarHoldsEveryActionWithItsKey() {
    test::EditorFixture f;
    f.showWindow();
    auto* bar = f.child<QMenuBar>("MenuBar");
    QStringList titles;
    for (QAction* a : bar->actions())
        titles << a->text();
    QCOMPARE(titles, (QStringList{u("文件(&F)"), u("编辑(&E)"), u("表格(&T)"), u("镜像(&I)"),
                                  u("帮助(&H)")}));
    QStringList texts;
    for (QMenu* menu : bar->findChildren<QMenu*>()) {
        for (QAction* a : menu->actions())
            texts << a->text() +
                         (a->shortcut().isEmpty() ? QString() : '\t' + a->shortcut().toString());
    }
    for (const char* shown : {"打开…\tCtrl+O", "另存为…\tCtrl+Shift+S", "退出\tCtrl+Q",
                              "写入\tCtrl+S", "撤销\tCtrl+Z", "重做\tCtrl+Y", "使用说明\tF1",
                              "底力补正…", "武器 表格…", "选择镜像…", "替换", "导出全部…"})
        QVERIFY2(texts.contains(u(shown)), shown);
    const auto choose = [&](const char* menuName, const QString& text) {
        auto* menu = f.child<QMenu>(menuName);
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(menu->menuAction()).center());
        QTRY_VERIFY(menu->isVisible());
        for (QAction* a : menu->actions()) {
            if (a->text().startsWith(text)) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
                return;
            }
        }
        QFAIL(qPrintable("no action " + text));
    };
    choose("TablesMenu", u("底力补正…"));
    QTRY_VERIFY(f.window().findChild<QWidget*>("Form2") != nullptr);
    f.clickRow("List1", 5);
    f.type(unitField("hp"), "4321");
    choose("EditMenu", u("写入"));
    QVERIFY(!f.window().context().pending().hasPending());
    QVERIFY(f.child<QLabel>("StatusNote")->text().startsWith(u("已写入 机体005")));
    choose("EditMenu", u("撤销：机体005"));
    QVERIFY(f.child<QLabel>("StatusNote")->text().startsWith(u("已撤销：机体005")));
}

// 1280 × 720 at 150 %: the record pages' 写入 and 表格 are in view without scrolling the page;
// the inner pages scroll instead.
void DesktopHabitsTest::writeButtonsStayInViewAt150Percent() {
    test::EditorFixture f;
    f.showWindow();
    f.window().resize(840, 440);
    const struct {
        int tab;
        const char* list;
        std::vector<const char*> buttons;
    } pages[] = {{0, "List1", {"Command3", "GridUnits", "GridWeapons"}},
                 {1, "List5", {"Command11", "GridPilots"}}};
    for (const auto& p : pages) {
        f.clickTab("SSTab1", p.tab);
        f.clickRow(p.list, 3);
        QCoreApplication::processEvents();
        for (const char* name : p.buttons) {
            auto* b = f.child<QPushButton>(name);
            QScrollArea* page = scrollerOf(b);
            const QRect shown(b->mapTo(page->viewport(), QPoint()), b->size());
            QVERIFY2(page->viewport()->rect().contains(shown),
                     qPrintable(QString("%1 at %2,%3 in %4 x %5")
                                    .arg(name)
                                    .arg(shown.x())
                                    .arg(shown.y())
                                    .arg(page->viewport()->width())
                                    .arg(page->viewport()->height())));
        }
    }
}

// Every file dialog opens beside the executable; the image dialog lists disc images; 导出全部…
// writes JSON as well as CSV.
void DesktopHabitsTest::fileDialogsStartBesideTheFileAndOfferEveryFormat() {
    test::EditorFixture f;
    f.showWindow();
    const QString folder = QString::fromStdString(f.exe().parent_path().string());
    f.clickTab("SSTab1", 4);
    f.dialogs().chooseNextFile(QString());
    f.click("Command14");
    QVERIFY2(f.dialogs().filters.last().contains("*.iso *.bin *.img"),
             qPrintable(f.dialogs().filters.last()));
    QCOMPARE(f.dialogs().starts.last(), folder);
    const auto out = f.exe().parent_path() / "tables";
    std::filesystem::create_directories(out);
    f.dialogs().answerNextChoice(1);  // JSON
    f.dialogs().chooseNextFile(QString::fromStdString(out.string()));
    f.click("ExportAllButton");
    QCOMPARE(f.dialogs().starts.last(), folder);
    QVERIFY(std::filesystem::exists(out / "unit.json"));
    QVERIFY(std::filesystem::exists(out / "spirit.json"));
    QVERIFY(!std::filesystem::exists(out / "unit.csv"));
    // The next 导出全部… starts in the folder chosen.
    f.dialogs().answerNextChoice(0);
    f.dialogs().chooseNextFile(QString());
    f.click("ExportAllButton");
    QCOMPARE(f.dialogs().starts.last(), QString::fromStdString(out.string()));
}

#include "desktop_habits_wtest.moc"
