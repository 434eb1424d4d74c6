#pragma once
// The main window `Form1`: the executable path with "打开" and "退出" above five tab
// pages, each an editor or a tool.

#include <QMap>
#include <QPointer>
#include <QWidget>

class QLineEdit;
class QTabWidget;

namespace vorlan {

class Dialogs;
class EditorContext;

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

protected:
    // Closing the window asks about unsaved edits first.
    void closeEvent(QCloseEvent* event) override;

private:
    void chooseExecutable();
    QWidget* buildHistory();
    // Shows the secondary window of a "其他修改2" button, or brings it forward.
    void openWindow(const QString& button);
    QWidget* buildWindowButtons();
    QWidget* buildToolsPage();

    Dialogs& dialogs_;
    QString helpDir_;
    EditorContext* context_;
    QLineEdit* text1_;
    QTabWidget* tabs_;
    QWidget* history_ = nullptr;
    QMap<QString, QPointer<QWidget>> windows_;
};

}  // namespace vorlan
