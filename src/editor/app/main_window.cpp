#include "app/main_window.h"
#include "ui/text.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QShortcut>
#include <QUndoStack>
#include <QUndoView>

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "pages/compare_window.h"
#include "pages/disc_image_frame.h"
#include "pages/export_all.h"
#include "pages/help_frame.h"
#include "pages/lookup_frame.h"
#include "pages/mod_patch_frame.h"
#include "pages/pilot_page.h"
#include "pages/skill_training_frame.h"
#include "pages/table_window.h"
#include "pages/unit_page.h"
#include "pages/upgrade_frame.h"
#include "pages/window_layouts.h"
#include "ui/dialogs.h"
#include "ui/editor_context.h"
#include "ui/wheel_guard.h"
#include "ui/widgets.h"

namespace vorlan {

MainWindow::MainWindow(Dialogs& dialogs, const QString& dataDir, const QString& helpDir,
                       QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      helpDir_(helpDir.isEmpty() ? dataDir : helpDir),
      context_(new EditorContext(dialogs, dataDir, this)),
      text1_(readOnlyBox("Text1", 400)),
      tabs_(new QTabWidget) {
    setObjectName("Form1");
    setWindowTitle(u("VORLAN静态修改器V1.20"));

    auto* command1 = button("Command1", u("打开"));
    auto* command2 = button("Command2", u("退出"));
    command1->setToolTip(u("选择游戏主程序 SLKV_618.04 (Ctrl+O)"));
    command1->setShortcut(QKeySequence::Open);
    QUndoStack* undo = context_->history().stack();
    auto* undoButton = button("UndoButton", u("撤销"));
    auto* redoButton = button("RedoButton", u("重做"));
    auto* historyButton = button("HistoryButton", u("历史"));
    auto* compare = button("CompareButton", u("比较…"));
    compare->setToolTip(u("与另一个游戏主程序逐字段比较，可以采用其中的值"));
    connect(compare, &QPushButton::clicked, this, [this] { CompareWindow::open(*context_, this); });
    auto* exportAll = button("ExportAllButton", u("导出全部…"));
    exportAll->setToolTip(u("把全部表导出为 CSV 文件（每个表一个文件）到选择的文件夹"));
    connect(exportAll, &QPushButton::clicked, this, [this] { exportAllTables(*context_, this); });
    undoButton->setEnabled(false);
    redoButton->setEnabled(false);
    historyButton->setCheckable(true);
    historyButton->setToolTip(u("显示本次运行中每一次写入，可以撤销或重做"));
    connect(undo, &QUndoStack::canUndoChanged, undoButton, &QPushButton::setEnabled);
    connect(undo, &QUndoStack::canRedoChanged, redoButton, &QPushButton::setEnabled);
    connect(undo, &QUndoStack::undoTextChanged, undoButton, [undoButton](const QString& t) {
        undoButton->setToolTip(t.isEmpty() ? QString() : u("撤销：") + t + " (Ctrl+Z)");
    });
    connect(undo, &QUndoStack::redoTextChanged, redoButton, [redoButton](const QString& t) {
        redoButton->setToolTip(t.isEmpty() ? QString() : u("重做：") + t + " (Ctrl+Y)");
    });
    connect(undoButton, &QPushButton::clicked, undo, &QUndoStack::undo);
    connect(redoButton, &QPushButton::clicked, undo, &QUndoStack::redo);
    // Ctrl+Z / Ctrl+Y anywhere but in a text box, which undoes its own typing first.
    auto* undoKey = new QShortcut(QKeySequence::Undo, this);
    auto* redoKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), this);
    connect(undoKey, &QShortcut::activated, undo, &QUndoStack::undo);
    connect(redoKey, &QShortcut::activated, undo, &QUndoStack::redo);

    auto* top = new QHBoxLayout;
    top->addWidget(text1_, 1);
    top->addWidget(command1);
    top->addWidget(command2);
    top->addSpacing(12);
    top->addWidget(undoButton);
    top->addWidget(redoButton);
    top->addWidget(historyButton);
    top->addWidget(compare);
    top->addWidget(exportAll);

    tabs_->setObjectName("SSTab1");
    tabs_->addTab(new UnitPage(*context_), u("机体武器修改"));
    tabs_->addTab(new PilotPage(*context_), u("机师修改"));
    auto* tables = new QWidget;
    auto* tablesLayout = new QVBoxLayout(tables);
    tablesLayout->addWidget(new SkillTrainingFrame(*context_));
    tablesLayout->addWidget(new UpgradeFrame(*context_));
    tablesLayout->addStretch();
    tabs_->addTab(tables, u("其他修改"));
    tabs_->addTab(buildWindowButtons(), u("其他修改2"));
    tabs_->addTab(buildToolsPage(), u("使用相关"));

    // One line for notes that concern the whole file, such as the backup made before a write.
    auto* status = new QLabel;
    status->setObjectName("StatusNote");
    connect(&context_->session(), &DocumentSession::note, status, &QLabel::setText);

    status->setWordWrap(true);
    status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The caption carries " *" while any page has unsaved edits.
    connect(&context_->pending(), &PendingEdits::pendingChanged, this, [this](bool pending) {
        setWindowTitle(u("VORLAN静态修改器V1.20") + (pending ? " *" : ""));
    });

    history_ = buildHistory();
    history_->hide();
    connect(historyButton, &QPushButton::toggled, history_, &QWidget::setVisible);
    auto* middle = new QHBoxLayout;
    middle->addWidget(tabs_, 1);
    middle->addWidget(history_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addWidget(status);
    guardWheel(this);
    resize(900, 640);

    connect(command1, &QPushButton::clicked, this, &MainWindow::chooseExecutable);
    connect(command2, &QPushButton::clicked, this, [this] {
        if (!context_->pending().resolvePending(this))
            return;
        QApplication::closeAllWindows();
        QApplication::quit();
    });
    // The unit list takes the keyboard first.
    tabs_->widget(0)->setFocus();
}

MainWindow::~MainWindow() {
    // The secondary windows (tables, grids) show what the shared context holds: they go
    // before it does.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow())
            delete child;
    }
}

QWidget* MainWindow::buildHistory() {
    auto* box = frame(u("写入历史（撤销 / 重做）"), "HistoryFrame");
    auto* view = new QUndoView(context_->history().stack());
    view->setObjectName("HistoryView");
    view->setEmptyLabel(u("（打开文件时的状态）"));
    view->setWordWrap(true);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(view);
    box->setMinimumWidth(260);
    return box;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!context_->pending().resolvePending(this)) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

QWidget* MainWindow::buildWindowButtons() {
    auto* page = new QWidget;
    auto* row = new QHBoxLayout;
    const std::pair<const char*, const char*> buttons[] = {
        {"Command23", "底力补正"}, {"Command24", "防护立场"}, {"Command25", "机师特技补正"},
        {"Command26", "强化配件"}, {"Command27", "武器改造"}, {"Command28", "主角精神"}};
    for (const auto& [name, text] : buttons) {
        auto* b = button(name, u(text));
        connect(b, &QPushButton::clicked, this, [this, name] { openWindow(name); });
        row->addWidget(b);
    }
    row->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(row);
    layout->addStretch();
    return page;
}

QWidget* MainWindow::buildToolsPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->addWidget(new DiscImageFrame(*context_), 0, 0);
    grid->addWidget(new LookupFrame(*context_), 1, 0);
    grid->addWidget(new ModPatchFrame(*context_), 2, 0);
    grid->addWidget(new HelpFrame(dialogs_, helpDir_), 0, 1, 4, 1);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

void MainWindow::openWindow(const QString& button) {
    if (context_->session().editor(this) == nullptr)
        return;
    for (const WindowLayout& layout : windowLayouts()) {
        if (u(layout.button) != button)
            continue;
        // One window per button: a second click brings it forward without reading again.
        QPointer<QWidget>& window = windows_[button];
        if (window.isNull()) {
            window = new TableWindow(*context_, layout, this);
            window->show();
        }
        window->raise();
        window->activateWindow();
    }
}

bool MainWindow::openExecutable(const QString& path) {
    if (!context_->session().openExecutable(path, this))
        return false;
    text1_->setText(context_->session().exepath() +
                    (context_->session().isReadOnly() ? u("（只读）") : QString()));
    // A read-only executable: every button that would write it is off.
    for (const char* name : {"Command3", "Command4", "Command6", "Command7", "Command11",
                             "Command13", "Command17", "Command21", "Command22"}) {
        if (auto* b = findChild<QPushButton*>(name))
            b->setEnabled(!context_->session().isReadOnly());
    }
    return true;
}

void MainWindow::chooseExecutable() {
    // A renamed copy opens too: the file's content decides, not its name.
    const QString path =
        dialogs_.openFile(this, u("SLKV_618.04(SLKV_618.04) | SLKV_618.04 | 所有文件 (*) | *"));
    // A cancelled dialog keeps the executable that is open.
    if (path.isEmpty())
        return;
    openExecutable(path);
}

}  // namespace vorlan
