// Development tool: opens the editor on a demo executable, walks through its pages and
// saves a picture of each, to look at the layout as a user would see it.
// Usage: screenshots OUTPUT_DIR  (run under xvfb-run for the real platform)

#include <QAbstractButton>
#include <QApplication>
#include <QColor>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QThread>
#include <QTimer>

#include "app/main_window.h"
#include "fixtures/disc_images.h"
#include "fixtures/fixtures.h"
#include "io/program_start.h"
#include "tables/unit_table.h"
#include "toolkit/change_preview_dialog.h"
#include "toolkit/dialogs.h"
#include "toolkit/entry_list_view.h"
#include "toolkit/startup.h"

namespace {

// Answers every question with OK and keeps messages out of the way, so the walk never
// stops at a modal dialog.
class QuietDialogs final : public vorlan::Dialogs {
public:
    void information(QWidget*, const QString& text) override { last = text; }
    bool question(QWidget*, const QString&, Default = Default::Ok) override { return true; }
    Unsaved askUnsaved(QWidget*, const UnsavedAsk&) override { return Unsaved::Discard; }
    int choose(QWidget*, const QString&, const QStringList&) override { return 0; }
    QString openFile(QWidget*, const QString&, const QString&) override { return file; }
    QString saveFile(QWidget*, const QString&, const QString&) override { return file; }
    QString chooseFolder(QWidget*, const QString&, const QString&) override { return file; }
    bool confirmChanges(QWidget*, const vorlan::ChangePreview& p) override {
        preview = p;
        return true;
    }
    QString file;
    vorlan::ChangePreview preview;
    QString last;
};

}  // namespace

int main(int argc, char* argv[]) {
    if (const auto child = vorlan::startProgram())
        return *child;
    Q_INIT_RESOURCE(resources);
    QApplication app(argc, argv);
    // "--dark": the pictures under a dark system palette, as a dark desktop gives one.
    if (argc > 2 && QString(argv[2]) == "--dark") {
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(45, 47, 52));
        dark.setColor(QPalette::WindowText, QColor(225, 228, 232));
        dark.setColor(QPalette::Base, QColor(30, 32, 36));
        dark.setColor(QPalette::AlternateBase, QColor(40, 42, 46));
        dark.setColor(QPalette::Text, QColor(225, 228, 232));
        dark.setColor(QPalette::Button, QColor(58, 61, 67));
        dark.setColor(QPalette::ButtonText, QColor(225, 228, 232));
        dark.setColor(QPalette::Mid, QColor(90, 94, 100));
        dark.setColor(QPalette::Midlight, QColor(70, 74, 80));
        dark.setColor(QPalette::Highlight, QColor(61, 111, 182));
        dark.setColor(QPalette::HighlightedText, Qt::white);
        QApplication::setPalette(dark);
    }
    vorlan::startApplication(app);

    const QDir out(argc > 1 ? argv[1] : ".");
    vorlan::test::TempDir dir;
    const auto exe = vorlan::test::writeDemo(dir / "SLKV_618.04");
    QuietDialogs dialogs;
    vorlan::MainWindow w(dialogs, QString::fromStdString(vorlan::test::sourceDataDir().string()));
    w.show();
    w.openExecutable(QString::fromStdString(exe.string()));

    auto* tabs = w.findChild<QTabWidget*>("SSTab1");
    auto* inner = w.findChild<QTabWidget*>("SSTab2");
    w.findChild<vorlan::EntryListView*>("List1")->requestRow(3);
    w.findChild<vorlan::EntryListView*>("List2")->requestRow(1);
    const auto shoot = [&](const QString& name) {
        QApplication::processEvents();
        w.grab().save(out.filePath(name + ".png"));
    };
    for (int i = 0; i < inner->count(); ++i) {
        inner->setCurrentIndex(i);
        shoot(QString("unit-%1").arg(i + 1));
    }
    // The unit list filtered by an in-game name, then by a text nothing matches.
    auto* filter = w.findChild<QLineEdit*>("FilterUnits");
    filter->setText(w.findChild<QLineEdit*>("Text34")->text().left(1));
    shoot("unit-filter");
    filter->setText("zzz");
    shoot("unit-filter-none");
    filter->clear();
    for (int i = 1; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        shoot(QString("tab-%1").arg(i + 1));
    }
    // The table reference, which lines up in columns only in a fixed-width font.
    if (auto* option = w.findChild<QAbstractButton*>("Option2")) {
        option->click();
        shoot("help-struct");
    }

    // The pilot tab's three inner pages with a pilot shown.
    tabs->setCurrentIndex(1);
    w.findChild<vorlan::EntryListView*>("List5")->requestRow(12);
    auto* pilotTabs = w.findChild<QTabWidget*>("SSTab3");
    for (int i = 0; i < pilotTabs->count(); ++i) {
        pilotTabs->setCurrentIndex(i);
        shoot(QString("pilot-%1").arg(i + 1));
    }

    // The six windows, each with an entry shown.
    tabs->setCurrentIndex(3);
    for (const char* name :
         {"Command23", "Command24", "Command25", "Command26", "Command27", "Command28"}) {
        w.findChild<QPushButton*>(name)->click();
        QApplication::processEvents();
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (!top->isVisible() || top == &w)
                continue;
            if (auto* list = top->findChild<vorlan::EntryListView*>("List1"))
                list->requestRow(1);
            QApplication::processEvents();
            top->grab().save(out.filePath(top->objectName() + ".png"));
            top->close();
        }
    }

    // The editing flow: unsaved edits marked, a write in the status line, the history,
    // a refusal that brought its field's page forward.
    tabs->setCurrentIndex(0);
    inner->setCurrentIndex(0);
    w.findChild<QLineEdit*>("Text2")->setText("123456");
    w.findChild<QLineEdit*>("Text6")->setText("2400");
    shoot("flow-1-unsaved");
    w.findChild<QPushButton*>("Command3")->click();
    shoot("flow-2-written");
    w.findChild<QPushButton*>("HistoryButton")->click();
    w.findChild<QPushButton*>("Command7")->click();
    shoot("flow-3-history");
    w.findChild<QLineEdit*>("Text35")->setText("1FF");
    w.findChild<QLineEdit*>("Text2")->setText("abc");
    w.findChild<QPushButton*>("Command3")->click();
    shoot("flow-4-refused");
    {
        // The one message that names every refused field.
        QMessageBox refusal(QMessageBox::NoIcon, QApplication::applicationName(), dialogs.last,
                            QMessageBox::Ok, &w);
        refusal.show();
        QApplication::processEvents();
        refusal.grab().save(out.filePath("flow-4-refusal-message.png"));
    }

    // The disc image frame during and after a replace.
    tabs->setCurrentIndex(4);
    const auto image = vorlan::test::makeImage(dir.path(), vorlan::test::demoBytes(), false);
    dialogs.file = QString::fromStdString(image.string());
    w.findChild<QPushButton*>("Command14")->click();
    w.findChild<QPushButton*>("Command20")->click();
    shoot("image-1-during");
    for (int i = 0; i < 200 && !dialogs.last.startsWith(QString::fromUtf8("替换完成")); ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
    shoot("image-2-after");

    // The weapon grid on the slot shown, with an edited cell and a filter; the import preview.
    tabs->setCurrentIndex(0);
    w.findChild<QPushButton*>("GridWeapons")->click();
    QApplication::processEvents();
    if (auto* grid = w.findChild<QWidget*>("Grid_weapon")) {
        auto* view = grid->findChild<QTableView*>("Grid");
        view->model()->setData(view->model()->index(view->currentIndex().row(), 3), "2500");
        grid->findChild<QLineEdit*>("GridFilter")->setText(QString::fromUtf8("机体003"));
        QApplication::processEvents();
        grid->grab().save(out.filePath("grid-weapons.png"));
        vorlan::ChangePreviewDialog preview(
            {QString::fromUtf8("导入预览"),
             QString::fromUtf8("将改动 2 个条目的 2 个字段："),
             {{QString::fromUtf8("5 机体005"), "HP", "16300", "1234"},
              {QString::fromUtf8("6 机体006"), QString::fromUtf8("机体名称"),
               QString::fromUtf8("896086F38772814C8156「疾风改-7」"),
               QString::fromUtf8("838588AE8873「白虎号」")}},
             QString::fromUtf8("导入"),
             {}},
            grid);
        preview.show();
        QApplication::processEvents();
        preview.grab().save(out.filePath("grid-import-preview.png"));
    }

    // The comparison with a copy that has a few fields set and a byte of no field.
    {
        auto bytes = vorlan::test::readFile(exe);
        bytes[vorlan::unitTable().entryOffset(5) + 36] ^= 0x10;
        bytes[vorlan::unitTable().entryOffset(9) + 40] ^= 0x01;
        bytes[0x1000] ^= 0xFF;
        const auto other = dir / "other.04";
        vorlan::test::writeFile(other, bytes);
        dialogs.file = QString::fromStdString(other.string());
        w.findChild<QPushButton*>("CompareButton")->click();
        QApplication::processEvents();
        if (auto* compare = w.findChild<QWidget*>("CompareWindow"))
            compare->grab().save(out.filePath("compare.png"));
    }

    // A Qt dialog with its standard buttons, in Chinese.
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), dialogs.last,
                    QMessageBox::Ok | QMessageBox::Cancel, &w);
    box.show();
    QApplication::processEvents();
    box.grab().save(out.filePath("flow-5-dialog.png"));
    return 0;
}
