#pragma once
// The main window `Form1`: the executable path with "打开" and "退出" above five tab
// pages, each an editor or a tool.

#include <QMap>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "app/recent_files.h"

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QSettings;
class QSplitter;
class QTabWidget;

namespace vorlan {

class DiscImageFrame;
class Dialogs;
class EditorContext;
class LazyPage;
class ListsFolderFrame;
struct WindowLayout;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    // The name lists are read from `dataDir`, the help texts from `helpDir` (empty: `dataDir`).
    MainWindow(Dialogs& dialogs, const QString& dataDir, const QString& helpDir = {},
               QWidget* parent = nullptr);
    ~MainWindow() override;

    EditorContext& context() { return *context_; }
    // Opens the executable as if chosen in the open dialog. Returns true when adopted.
    bool openExecutable(const QString& path);
    // vorlan-editor --table TABLE: the grid of the table named `table` (a name the command
    // line accepted) opened over the window, as its 表格 button would. Null when no executable
    // is open (the player is told to open one) or `table` names none.
    QWidget* openGridAtStart(const QString& table);
    // Builds the pages and inner pages not shown yet (each is otherwise built when first shown).
    void buildAllPages();

    // Remembers from now on, in `settings`, the executables opened, the window's size and
    // place, the page and the splitter, and the lists folder; restores what it holds.
    // `restoreLists` false: a lists folder given on the command line stays.
    void useSettings(QSettings* settings, bool restoreLists = true);
    // The executable opened last in an earlier run, when it is still there; else empty.
    QString lastExecutable() const;

protected:
    // Closing the window asks about unsaved edits first.
    void closeEvent(QCloseEvent* event) override;
    // An executable or a disc image dropped anywhere on the window, on a text box too, is opened.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // A page built when first shown; one that needs a file says how to open one until then.
    void addPage(const QString& caption, std::function<QWidget*()> build, bool needsFile = true);
    LazyPage* lazyPage(int index) const;
    // The width below which the page on show would scroll sideways.
    int pagesNeed() const;
    void pageBuilt(QWidget* page);
    QWidget* toolsPage();
    // The path and the write buttons for the executable just adopted.
    void showExecutable();
    void enableWriting();
    void chooseExecutable();
    // The constructor's steps: the file row (path, 打开, 最近, 退出), 撤销 / 重做 / 历史, the
    // whole-file tools, the five pages, the history beside them, the status line, the size.
    QHBoxLayout* buildFileRow();
    void buildUndoButtons(QHBoxLayout* row);
    void buildWholeFileButtons(QHBoxLayout* row);
    void buildPages();
    QWidget* buildHistory();
    QWidget* buildStatusLine();
    // The caption: the program, "（只读）" for a read-only file, " *" while edits are unsaved.
    void showTitle();
    void fitScreen();
    // Shows the secondary window of a "其他修改2" button, or brings it forward.
    void openWindow(const WindowLayout& layout);
    QWidget* buildWindowButtons();
    QWidget* buildToolsPage();
    void buildKeys();
    void showRecentMenu();
    void fillRecentMenu(QMenu* menu);
    // The menu bar (文件 / 编辑 / 表格 / 镜像 / 帮助), in main_menu.cpp.
    QMenuBar* buildMenuBar();
    // 编辑 → 写入: what Ctrl+S does on the page on show.
    void writeShownPage();
    // 文件 → 另存为….
    void saveCopyAs();
    void useListsFolder(const QString& folder);
    void saveLayout();

    Dialogs& dialogs_;
    QString helpDir_;
    EditorContext* context_;
    QLineEdit* pathBox_;
    QTabWidget* tabs_;
    QWidget* history_ = nullptr;
    QPushButton* historyButton_ = nullptr;
    QLabel* readOnlyMark_ = nullptr;
    QSplitter* splitter_ = nullptr;
    DiscImageFrame* imageFrame_ = nullptr;
    ListsFolderFrame* listsFrame_ = nullptr;
    RecentFiles recent_{nullptr};
    // Settings that cannot be kept are told once a run.
    void keepSettings();
    bool toldSettingsLost_ = false;
    QMap<QString, QPointer<QWidget>> windows_;
};

}  // namespace vorlan
