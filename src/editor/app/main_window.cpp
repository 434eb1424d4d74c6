#include "app/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>
#include <QUndoStack>
#include <QUndoView>
#include <QVBoxLayout>

#include "app/history_side.h"
#include "app/start_hint.h"
#include "pages/compare_window.h"
#include "pages/disc_image_frame.h"
#include "pages/export_all.h"
#include "pages/help_frame.h"
#include "pages/lists_folder_frame.h"
#include "pages/lookup_frame.h"
#include "pages/mod_patch_frame.h"
#include "pages/page_save_key.h"
#include "pages/pilot_page.h"
#include "pages/skill_training_frame.h"
#include "pages/table_grid_window.h"
#include "pages/table_window.h"
#include "pages/unit_page.h"
#include "pages/upgrade_frame.h"
#include "pages/window_layouts.h"
#include "session/editor_context.h"
#include "session/record_browser.h"
#include "tables/catalog.h"
#include "toolkit/dialogs.h"
#include "toolkit/drop_guard.h"
#include "toolkit/lazy_page.h"
#include "toolkit/lazy_tab.h"
#include "toolkit/text.h"
#include "toolkit/undo_controls.h"
#include "toolkit/undo_keys.h"
#include "toolkit/wheel_guard.h"
#include "toolkit/widgets.h"

namespace vorlan {

MainWindow::MainWindow(Dialogs& dialogs, const QString& dataDir, const QString& helpDir,
                       QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      helpDir_(helpDir.isEmpty() ? dataDir : helpDir),
      context_(new EditorContext(dialogs, dataDir, this)),
      pathBox_(readOnlyBox("Text1", 400)),
      tabs_(new QTabWidget) {
    setObjectName("Form1");
    setWindowTitle(u("VORLAN静态修改器V1.20"));
    QHBoxLayout* top = buildFileRow();
    top->addSpacing(12);
    buildUndoButtons(top);
    buildWholeFileButtons(top);
    buildPages();
    history_ = buildHistory();
    history_->hide();
    // The history takes its width from the pages, not from the screen: the window keeps its
    // size when it is shown and hidden.
    splitter_ = new QSplitter;
    splitter_->setObjectName("MainSplitter");
    splitter_->addWidget(tabs_);
    splitter_->addWidget(history_);
    splitter_->setStretchFactor(0, 1);
    splitter_->setChildrenCollapsible(false);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(buildMenuBar());
    layout->addLayout(top);
    layout->addWidget(splitter_, 1);
    layout->addWidget(buildStatusLine());
    auto* side = new HistorySide(this, splitter_, tabs_, history_, [this] { return pagesNeed(); });
    connect(historyButton_, &QPushButton::toggled, side, &HistorySide::setShown);
    buildKeys();
    setAcceptDrops(true);
    // A file dropped on a text box comes to the window, which opens it.
    refuseFileDropsOnTextBoxes(this);
    fitScreen();
    // The page shown first (the unit list) takes the keyboard.
    tabs_->currentWidget()->setFocus();
}

QHBoxLayout* MainWindow::buildFileRow() {
    pathBox_->setMinimumWidth(120);  // the path shrinks first on a small screen
    auto* openButton = button("Command1", u("打开"));
    auto* quitButton = button("Command2", u("退出"));
    openButton->setToolTip(u("选择游戏主程序 SLKV_618.04 (Ctrl+O)"));
    openButton->setShortcut(QKeySequence::Open);
    connect(openButton, &QPushButton::clicked, this, &MainWindow::chooseExecutable);
    connect(quitButton, &QPushButton::clicked, this, [this] {
        if (!context_->pending().resolvePending(this))
            return;
        QApplication::closeAllWindows();
        QApplication::quit();
    });
    auto* recent = new QToolButton;
    recent->setObjectName("RecentButton");
    recent->setText(u("最近"));
    recent->setToolTip(u("最近打开过的游戏主程序"));
    recent->setPopupMode(QToolButton::InstantPopup);
    recent->setMenu(new QMenu(recent));
    connect(recent->menu(), &QMenu::aboutToShow, this, &MainWindow::showRecentMenu);
    connect(&context_->session(), &DocumentSession::executableOpened, this,
            &MainWindow::showExecutable);
    connect(&context_->session(), &DocumentSession::executableMoved, this,
            &MainWindow::showExecutable);

    auto* row = new QHBoxLayout;
    row->addWidget(pathBox_, 1);
    row->addWidget(openButton);
    row->addWidget(recent);
    row->addWidget(quitButton);
    return row;
}

void MainWindow::buildUndoButtons(QHBoxLayout* row) {
    QUndoStack* undo = context_->history().stack();
    auto* undoButton = button("UndoButton", u("撤销"));
    auto* redoButton = button("RedoButton", u("重做"));
    auto* historyButton = historyButton_ = button("HistoryButton", u("历史"));
    historyButton->setCheckable(true);
    historyButton->setToolTip(u("显示本次运行中每一次写入，可以撤销或重做"));
    // The file row has no room for the step's name: the tips and the 编辑 menu say it.
    nameUndoButtons(undoButton, redoButton, undo, 0);
    // Ctrl+Z / Ctrl+Y anywhere; a text box with typing of its own to undo takes them first.
    qApp->installEventFilter(new UndoKeys(this));
    auto* undoKey = new QShortcut(QKeySequence::Undo, this);
    auto* redoKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), this);
    connect(undoKey, &QShortcut::activated, undo, &QUndoStack::undo);
    connect(redoKey, &QShortcut::activated, undo, &QUndoStack::redo);
    row->addWidget(undoButton);
    row->addWidget(redoButton);
    row->addWidget(historyButton);
}

void MainWindow::buildWholeFileButtons(QHBoxLayout* row) {
    auto* compare = button("CompareButton", u("比较…"));
    compare->setToolTip(u("与另一个游戏主程序逐字段比较，可以采用其中的值"));
    connect(compare, &QPushButton::clicked, this, [this] { CompareWindow::open(*context_, this); });
    auto* exportAll = button("ExportAllButton", u("导出全部…"));
    exportAll->setToolTip(u("把全部表导出为 CSV 或 JSON 文件（每个表一个文件）到选择的文件夹"));
    connect(exportAll, &QPushButton::clicked, this, [this] { exportAllTables(*context_, this); });
    row->addWidget(compare);
    row->addWidget(exportAll);
}

void MainWindow::buildPages() {
    tabs_->setObjectName("SSTab1");
    // Each page is built when it is first shown: the window appears at once.
    addPage(u("机体武器修改"), [this] { return new UnitPage(*context_); });
    addPage(u("机师修改"), [this] { return new PilotPage(*context_); });
    addPage(u("其他修改"), [this] {
        auto* tables = new QWidget;
        auto* tablesLayout = new QVBoxLayout(tables);
        tablesLayout->addWidget(new SkillTrainingFrame(*context_));
        tablesLayout->addWidget(new UpgradeFrame(*context_));
        tablesLayout->addStretch();
        const QList<RecordBrowser*> browsers = tables->findChildren<RecordBrowser*>();
        addPageSaveKey(tables, *context_, {browsers.begin(), browsers.end()});
        return tables;
    });
    addPage(u("其他修改2"), [this] { return buildWindowButtons(); });
    addPage(
        u("使用相关"), [this] { return buildToolsPage(); }, false);
}

QWidget* MainWindow::buildStatusLine() {
    // One line for notes that concern the whole file, such as the backup made before a write.
    auto* status = new QLabel;
    status->setObjectName("StatusNote");
    status->setWordWrap(true);
    status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(&context_->session(), &DocumentSession::note, status, &QLabel::setText);
    // A read-only file says so for as long as it is open, whatever the notes say.
    auto* readOnly = new QLabel(u("只读"));
    readOnly->setObjectName("ReadOnlyMark");
    readOnly->setToolTip(u("游戏主程序以只读方式打开（没有写入权限）：可以查看，不能写入"));
    readOnly->setFrameShape(QFrame::StyledPanel);
    readOnly->hide();
    readOnlyMark_ = readOnly;
    // The caption carries " *" while any page has unsaved edits.
    connect(&context_->pending(), &PendingEdits::pendingChanged, this, &MainWindow::showTitle);
    auto* line = new QWidget;
    auto* row = new QHBoxLayout(line);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(readOnly, 0, Qt::AlignTop);
    row->addWidget(status, 1);
    return line;
}

void MainWindow::keepSettings() {
    if (toldSettingsLost_ || recent_.keep())
        return;
    toldSettingsLost_ = true;
    dialogs_.information(
        this, u("无法保存本程序的设置（最近打开的文件、窗口的位置、各个对话框的文件夹）：\n") +
                  recent_.where() +
                  u("\n这个位置或它所在的文件夹无法建立或写入（例如有一个同名的文件）。本程序照常"
                    "工作，只是下次启动时不会记得这些。"));
}

void MainWindow::showTitle() {
    const bool readOnly =
        context_->session().document() != nullptr && context_->session().isReadOnly();
    setWindowTitle(u("VORLAN静态修改器V1.20") + (readOnly ? u("（只读）") : QString()) +
                   (context_->pending().hasPending() ? " *" : ""));
    readOnlyMark_->setVisible(readOnly);
    if (readOnly)
        readOnlyMark_->setToolTip(context_->session().readOnlyReason() + u("：可以查看，不能写入"));
}

void MainWindow::fitScreen() {
    // Within the screen's free area, so that a small screen or a large scale shows it whole.
    QSize size(940, 690);
    if (const QScreen* s = screen())
        size = size.boundedTo(s->availableGeometry().size() - QSize(16, 48));
    resize(size);
}

void MainWindow::addPage(const QString& caption, std::function<QWidget*()> build, bool needsFile) {
    auto* page = new LazyPage(std::move(build));
    connect(page, &LazyPage::built, this, &MainWindow::pageBuilt);
    if (needsFile)
        tabs_->addTab(new NeedsFile(page, context_->session()), caption);
    else
        tabs_->addTab(page, caption);
}

LazyPage* MainWindow::lazyPage(int index) const {
    QWidget* tab = tabs_->widget(index);
    if (auto* page = qobject_cast<LazyPage*>(tab))
        return page;
    return tab->findChild<LazyPage*>(QString(), Qt::FindDirectChildrenOnly);
}

void MainWindow::buildAllPages() {
    for (int i = 0; i < tabs_->count(); ++i)
        buildLazyTabs(lazyPage(i)->page());
}

QWidget* MainWindow::toolsPage() {
    return lazyPage(tabs_->count() - 1)->page();
}

int MainWindow::pagesNeed() const {
    // The page's least width, and around it the tab frame and the page's own scroll bar.
    const LazyPage* page = lazyPage(tabs_->currentIndex());
    if (page == nullptr || !page->isVisible() || page->widget() == nullptr)
        return 0;
    return page->widget()->minimumSizeHint().width() + tabs_->width() - page->viewport()->width();
}

void MainWindow::pageBuilt(QWidget* page) {
    guardWheel(page);
    // A page built after an executable was opened reads it now, as the others did then.
    if (context_->session().document() != nullptr) {
        for (RecordBrowser* browser : page->findChildren<RecordBrowser*>())
            browser->load();
        enableWriting();
    }
}

MainWindow::~MainWindow() {
    // The secondary windows (tables, grids) show what the shared context holds: they go
    // before it does.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow())
            delete child;
    }
}

void MainWindow::buildKeys() {
    const auto key = [this](const QKeySequence& sequence, auto action) {
        connect(new QShortcut(sequence, this), &QShortcut::activated, this, action);
    };
    // Between the pages from anywhere in the window, the inner pages with Ctrl+PgUp/PgDn.
    const auto step = [](QTabWidget* tabs, int by) {
        if (tabs != nullptr && tabs->count() > 0)
            tabs->setCurrentIndex((tabs->currentIndex() + by + tabs->count()) % tabs->count());
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_Tab), [this, step] { step(tabs_, 1); });
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), [this, step] { step(tabs_, -1); });
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), [this, step] { step(tabs_, -1); });
    const auto inner = [this] { return tabs_->currentWidget()->findChild<QTabWidget*>(); };
    key(QKeySequence(Qt::CTRL | Qt::Key_PageDown), [inner, step] { step(inner(), 1); });
    key(QKeySequence(Qt::CTRL | Qt::Key_PageUp), [inner, step] { step(inner(), -1); });
    // F1: the usage guide.
    key(QKeySequence::HelpContents, [this] {
        tabs_->setCurrentIndex(tabs_->count() - 1);
        if (auto* guide = toolsPage()->findChild<QAbstractButton*>("Option1"))
            guide->click();
    });
}

void MainWindow::useSettings(QSettings* settings, bool restoreLists) {
    recent_ = RecentFiles(settings);
    context_->places().useSettings(settings);
    if (!recent_.active())
        return;
    if (const QByteArray geometry = recent_.value("window/geometry"); !geometry.isEmpty())
        restoreGeometry(geometry);
    if (const QByteArray split = recent_.value("window/splitter"); !split.isEmpty())
        splitter_->restoreState(split);
    const int page = recent_.text("window/page").toInt();
    if (page >= 0 && page < tabs_->count())
        tabs_->setCurrentIndex(page);
    if (const QString lists = recent_.text("lists/folder");
        restoreLists && !lists.isEmpty() && QFileInfo(lists).isDir() &&
        lists != context_->session().dataDir()) {
        context_->session().setDataDir(lists, this);
        if (listsFrame_ != nullptr)
            listsFrame_->showFolder();
    }
}

QString MainWindow::lastExecutable() const {
    const QStringList files = recent_.files();
    return !files.isEmpty() && QFileInfo(files.first()).isFile() ? files.first() : QString();
}

void MainWindow::showRecentMenu() {
    fillRecentMenu(findChild<QToolButton*>("RecentButton")->menu());
}

void MainWindow::fillRecentMenu(QMenu* menu) {
    menu->clear();
    const QStringList files = recent_.files();
    for (const QString& file : files) {
        QAction* open = menu->addAction(file);
        connect(open, &QAction::triggered, this, [this, file] {
            if (!QFileInfo(file).isFile()) {
                dialogs_.information(this, u("文件已不在原处，已从最近列表中去掉：\n") + file);
                recent_.forget(file);
                return;
            }
            openExecutable(file);
        });
    }
    if (files.isEmpty())
        menu->addAction(u("（还没有打开过文件）"))->setEnabled(false);
    menu->addSeparator();
    connect(menu->addAction(u("选择文件…")), &QAction::triggered, this,
            &MainWindow::chooseExecutable);
}

void MainWindow::useListsFolder(const QString& folder) {
    if (!context_->session().setDataDir(folder, this))
        return;
    recent_.setText("lists/folder", folder);
    if (listsFrame_ != nullptr)
        listsFrame_->showFolder();
    emit context_->session().note(u("名称列表改为：") + folder);
}

void MainWindow::saveLayout() {
    recent_.setValue("window/geometry", saveGeometry());
    recent_.setValue("window/splitter", splitter_->saveState());
    recent_.setText("window/page", QString::number(tabs_->currentIndex()));
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString path = shownPath(event->mimeData()->urls().value(0).toLocalFile());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // An ELF file is an executable; anything as large as a disc is taken as an image.
    QFile file(path);
    QByteArray head;
    if (file.open(QIODevice::ReadOnly))
        head = file.read(4);
    constexpr qint64 kImageAtLeast = 741376 + 3542016;
    if (head != QByteArray("\x7F"
                           "ELF",
                           4) &&
        QFileInfo(path).size() >= kImageAtLeast) {
        tabs_->setCurrentIndex(tabs_->count() - 1);
        toolsPage();
        imageFrame_->useImage(path);
        return;
    }
    openExecutable(path);
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
    saveLayout();
    QWidget::closeEvent(event);
}

QWidget* MainWindow::buildWindowButtons() {
    auto* page = new QWidget;
    auto* row = new QHBoxLayout;
    for (const WindowLayout& layout : windowLayouts()) {
        auto* b = button(u(layout.button), u(layout.buttonCaption));
        connect(b, &QPushButton::clicked, this, [this, &layout] { openWindow(layout); });
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
    imageFrame_ = new DiscImageFrame(*context_);
    listsFrame_ = new ListsFolderFrame(*context_);
    connect(listsFrame_, &ListsFolderFrame::folderChosen, this, &MainWindow::useListsFolder);
    grid->addWidget(imageFrame_, 0, 0);
    grid->addWidget(new LookupFrame(*context_), 1, 0);
    grid->addWidget(new ModPatchFrame(*context_), 2, 0);
    grid->addWidget(listsFrame_, 3, 0);
    grid->addWidget(new HelpFrame(dialogs_, helpDir_), 0, 1, 5, 1);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

void MainWindow::openWindow(const WindowLayout& layout) {
    if (context_->session().editor(this) == nullptr)
        return;
    // One window per button: a second click brings it forward without reading again.
    QPointer<QWidget>& window = windows_[u(layout.button)];
    if (window.isNull()) {
        window = new TableWindow(*context_, layout, this);
        window->show();
    }
    window->raise();
    window->activateWindow();
}

bool MainWindow::openExecutable(const QString& path) {
    return context_->session().openExecutable(path, this);
}

void MainWindow::showExecutable() {
    // However it was opened: 打开, 最近, a drop, or again after another program replaced it.
    recent_.add(context_->session().exepath());
    keepSettings();
    pathBox_->setText(context_->session().exepath() +
                      (context_->session().isReadOnly() ? u("（只读）") : QString()));
    showTitle();
    enableWriting();
}

void MainWindow::enableWriting() {
    // A read-only executable: every button that would write it is off.
    for (QPushButton* b : findChildren<QPushButton*>()) {
        if (writesFile(b))
            b->setEnabled(!context_->session().isReadOnly());
    }
}

void MainWindow::chooseExecutable() {
    // A renamed copy opens too: the file's content decides, not its name.
    FilePlaces& places = context_->places();
    const QString path =
        dialogs_.openFile(this, u("SLKV_618.04(SLKV_618.04) | SLKV_618.04 | 所有文件 (*) | *"),
                          places.folder(FilePlaces::Kind::Executable));
    // A cancelled dialog keeps the executable that is open.
    if (path.isEmpty())
        return;
    places.chosen(FilePlaces::Kind::Executable, path);
    openExecutable(path);
}

QWidget* MainWindow::openGridAtStart(const QString& table) {
    const TableDef* def = findTable(table.toStdString());
    if (def == nullptr)
        return nullptr;
    return TableGridWindow::open(context(), *def, -1, this);
}

}  // namespace vorlan
