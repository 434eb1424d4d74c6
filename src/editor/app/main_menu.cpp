// The main window's menu bar: every action of the window and its pages, with its key.
// Actions whose key belongs to a page or a button show it ("写入\tCtrl+S") and do what the
// key does; the menu gives them no key of its own, so no key is claimed twice.

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QUndoStack>

#include "app/main_window.h"
#include "pages/compare_window.h"
#include "pages/export_all.h"
#include "pages/lookup_frame.h"
#include "pages/table_grid_window.h"
#include "pages/window_layouts.h"
#include "session/editor_context.h"
#include "tables/catalog.h"
#include "toolkit/dialogs.h"
#include "toolkit/text.h"

namespace vorlan {

namespace {

// "打开…" with its key shown as "打开…\tCtrl+O".
QString withKey(const char* text, const char* key) {
    return u(text) + '\t' + u(key);
}

}  // namespace

QMenuBar* MainWindow::buildMenuBar() {
    auto* bar = new QMenuBar;
    bar->setObjectName("MenuBar");
    // A button of the tools page, pressed as the player would press it.
    const auto press = [this](const char* name) {
        return [this, name] {
            tabs_->setCurrentIndex(tabs_->count() - 1);
            if (auto* b = toolsPage()->findChild<QAbstractButton*>(name))
                b->click();
        };
    };

    QMenu* file = bar->addMenu(u("文件(&F)"));
    file->setObjectName("FileMenu");
    connect(file->addAction(withKey("打开…", "Ctrl+O")), &QAction::triggered, this,
            &MainWindow::chooseExecutable);
    QMenu* recent = file->addMenu(u("最近打开"));
    connect(recent, &QMenu::aboutToShow, this, [this, recent] { fillRecentMenu(recent); });
    QAction* saveAs = file->addAction(u("另存为…"));
    saveAs->setObjectName("SaveAsAction");
    saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    connect(saveAs, &QAction::triggered, this, &MainWindow::saveCopyAs);
    file->addSeparator();
    connect(file->addAction(u("比较…")), &QAction::triggered, this,
            [this] { CompareWindow::open(*context_, this); });
    connect(file->addAction(u("导出全部…")), &QAction::triggered, this,
            [this] { exportAllTables(*context_, this); });
    connect(file->addAction(u("应用补丁…")), &QAction::triggered, this, press("ApplyPatchButton"));
    connect(file->addAction(u("制作补丁…")), &QAction::triggered, this, press("MakePatchButton"));
    file->addSeparator();
    connect(file->addAction(u("名称列表文件夹…")), &QAction::triggered, this,
            press("ListsFolderButton"));
    connect(file->addAction(u("字码表…")), &QAction::triggered, this, press("CharTableButton"));
    file->addSeparator();
    QAction* quit = file->addAction(u("退出"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, this, [this] {
        if (auto* b = findChild<QPushButton*>("Command2"))
            b->click();
    });

    QMenu* edit = bar->addMenu(u("编辑(&E)"));
    edit->setObjectName("EditMenu");
    connect(edit->addAction(withKey("写入", "Ctrl+S")), &QAction::triggered, this,
            &MainWindow::writeShownPage);
    QUndoStack* history = context_->history().stack();
    QAction* undo = edit->addAction(withKey("撤销", "Ctrl+Z"));
    QAction* redo = edit->addAction(withKey("重做", "Ctrl+Y"));
    connect(undo, &QAction::triggered, history, &QUndoStack::undo);
    connect(redo, &QAction::triggered, history, &QUndoStack::redo);
    QAction* showHistory = edit->addAction(u("历史"));
    showHistory->setCheckable(true);
    connect(showHistory, &QAction::triggered, historyButton_, &QPushButton::setChecked);
    connect(edit, &QMenu::aboutToShow, this, [this, undo, redo, showHistory, history] {
        // What undo and redo would touch, as the history holds it now.
        const auto named = [](const char* verb, const QString& step) {
            return step.isEmpty() ? u(verb) : u(verb) + u("：") + step;
        };
        undo->setText(named("撤销", history->undoText()) + u("\tCtrl+Z"));
        redo->setText(named("重做", history->redoText()) + u("\tCtrl+Y"));
        undo->setEnabled(history->canUndo());
        redo->setEnabled(history->canRedo());
        showHistory->setChecked(historyButton_->isChecked());
    });

    QMenu* tables = bar->addMenu(u("表格(&T)"));
    tables->setObjectName("TablesMenu");
    for (const TableDef* table : allTables()) {
        connect(tables->addAction(u(table->caption) + u(" 表格…")), &QAction::triggered, this,
                [this, table] { TableGridWindow::open(*context_, *table, -1, this); });
    }
    tables->addSeparator();
    for (const WindowLayout& layout : windowLayouts()) {
        connect(tables->addAction(u(layout.caption) + u("…")), &QAction::triggered, this,
                [this, &layout] { openWindow(layout); });
    }

    QMenu* image = bar->addMenu(u("镜像(&I)"));
    image->setObjectName("ImageMenu");
    const std::pair<const char*, const char*> imageActions[] = {{"选择镜像…", "Command14"},
                                                                {"提取…", "ExtractImage"},
                                                                {"替换", "Command20"},
                                                                {"恢复", "RestoreImage"}};
    for (const auto& [text, name] : imageActions)
        connect(image->addAction(u(text)), &QAction::triggered, this, press(name));
    connect(image, &QMenu::aboutToShow, this, [this, image, imageActions] {
        // As the tool's own buttons stand (an image accepted, a replace running).
        const QList<QAction*> actions = image->actions();
        for (qsizetype i = 0; i < actions.size(); ++i) {
            auto* b = toolsPage()->findChild<QAbstractButton*>(imageActions[i].second);
            actions[i]->setEnabled(b != nullptr && b->isEnabled());
        }
    });

    QMenu* help = bar->addMenu(u("帮助(&H)"));
    help->setObjectName("HelpMenu");
    connect(help->addAction(withKey("使用说明", "F1")), &QAction::triggered, this,
            press("Option1"));
    connect(help->addAction(u("查看静改资料")), &QAction::triggered, this, press("Option2"));
    connect(help->addAction(u("字码查找")), &QAction::triggered, this, [this] {
        tabs_->setCurrentIndex(tabs_->count() - 1);
        if (auto* box = toolsPage()->findChild<QWidget*>(kLookupInputName))
            box->setFocus();
    });
    help->addSeparator();
    connect(help->addAction(u("关于")), &QAction::triggered, this, [this] {
        dialogs_.information(this, u("VORLAN静态修改器V1.20\n"
                                     "修改 PS2 游戏 VORLAN 主程序 SLKV_618.04 中的数据表。\n"
                                     "命令行工具：vorlan-cli --help"));
    });
    return bar;
}

void MainWindow::writeShownPage() {
    // What Ctrl+S does on the page on show.
    for (QShortcut* key : tabs_->currentWidget()->findChildren<QShortcut*>()) {
        if (key->key() == QKeySequence(QKeySequence::Save)) {
            emit key->activated();
            return;
        }
    }
    emit context_->session().note(u("这一页没有可以写入的内容：写入按钮在各个编辑页和小窗口中。"));
}

void MainWindow::saveCopyAs() {
    DocumentSession& session = context_->session();
    if (session.editor(this) == nullptr)
        return;
    const QFileInfo open(session.exepath());
    FilePlaces& places = context_->places();
    // "游戏.exe" -> "游戏-副本.exe": the copy keeps the file's own extension, and the dialog
    // offers that extension first, so that Windows' dialog does not add another one.
    const QString suffix = open.suffix();
    const QString copy =
        open.completeBaseName() + u("-副本") + (suffix.isEmpty() ? QString() : "." + suffix);
    QString filter = u("SLKV_618.04(SLKV_618.04) | SLKV_618.04 | 所有文件 (*) | *");
    if (!suffix.isEmpty() && open.fileName() != "SLKV_618.04")
        filter = u("同类文件 (*.%1) | *.%1 | ").arg(suffix) + filter;
    const QString path =
        dialogs_.saveFile(this, filter, places.file(FilePlaces::Kind::SaveAs, copy));
    if (path.isEmpty())
        return;
    places.chosen(FilePlaces::Kind::SaveAs, path);
    session.saveCopyAs(path, this);
}

}  // namespace vorlan
