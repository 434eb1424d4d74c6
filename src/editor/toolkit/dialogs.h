#pragma once
// Message boxes and file dialogs, behind one interface handed to every window, so that
// tests can answer them with a script instead of a modal dialog.

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace vorlan {

// One field about to change, as a preview lists it.
struct ChangeRow {
    QString entry;  // "机体005 银翼王"
    QString field;  // the caption
    QString before;
    QString after;
};

// Changes about to be written (an import, a patch, a take-over from a comparison), shown
// before anything is written, with the button that writes them and "取消".
struct ChangePreview {
    QString title;    // "导入预览"
    QString summary;  // "将改动 3 个条目的 5 个字段："
    QList<ChangeRow> rows;
    QString accept;     // "导入"
    QStringList notes;  // what storing a value cut or completed, one line each
};

// One format a save dialog offers, with the file it proposes when that format is chosen.
struct SaveChoice {
    QString caption;    // "PCSX2 补丁"
    QString pattern;    // "*.pnach"
    QString suggested;  // the path proposed
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A message with an OK button only.
    virtual void information(QWidget* parent, const QString& text) = 0;
    // Which button Enter presses. A question whose OK writes into a file other than the one
    // being edited (the disc image, a file that replaced it) defaults to "取消".
    enum class Default { Ok, Cancel };
    // A question with OK and Cancel; true only for OK.
    virtual bool question(QWidget* parent, const QString& text, Default answer = Default::Ok) = 0;
    // Unsaved edits are about to be left: "写入", "放弃" or "取消" (for several records
    // "全部写入", "全部放弃", "取消"). Nothing is written or dropped before the answer.
    enum class Unsaved { Write, Discard, Cancel };
    struct UnsavedAsk {
        QString text;
        bool several = false;             // the answer is for every record listed
        bool canWrite = true;             // false (a read-only file): no write is offered
        Unsaved answer = Unsaved::Write;  // what Enter gives
    };
    virtual Unsaved askUnsaved(QWidget* parent, const UnsavedAsk& ask) = 0;
    // One of `options` (button captions) or -1 when cancelled.
    virtual int choose(QWidget* parent, const QString& text, const QStringList& options) = 0;
    // An open-file dialog showing folder `start`; `filter` is in the "description | pattern"
    // form. Empty when cancelled.
    virtual QString openFile(QWidget* parent, const QString& filter, const QString& start) = 0;
    // A save-file dialog starting at `suggested` (a path). Empty when cancelled.
    virtual QString saveFile(QWidget* parent, const QString& filter, const QString& suggested) = 0;
    // A save-file dialog offering `choices` (not empty), starting with the first; choosing
    // another format proposes that format's file. Empty when cancelled. This one offers them
    // all through saveFile, proposing the first's file.
    virtual QString saveFileAs(QWidget* parent, const QList<SaveChoice>& choices);
    // A folder chooser showing folder `start`. Empty when cancelled.
    virtual QString chooseFolder(QWidget* parent, const QString& caption, const QString& start) = 0;
    // The changes listed with the accept button and "取消"; true only for accept.
    virtual bool confirmChanges(QWidget* parent, const ChangePreview& preview) = 0;
};

// The real dialogs: plain message boxes with the application's title and no icon.
class WidgetDialogs final : public Dialogs {
public:
    void information(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& text, Default answer = Default::Ok) override;
    Unsaved askUnsaved(QWidget* parent, const UnsavedAsk& ask) override;
    int choose(QWidget* parent, const QString& text, const QStringList& options) override;
    QString openFile(QWidget* parent, const QString& filter, const QString& start) override;
    QString saveFile(QWidget* parent, const QString& filter, const QString& suggested) override;
    QString saveFileAs(QWidget* parent, const QList<SaveChoice>& choices) override;
    QString chooseFolder(QWidget* parent, const QString& caption, const QString& start) override;
    bool confirmChanges(QWidget* parent, const ChangePreview& preview) override;
};

// "补丁文件(*.bps, *.ips) | *.bps *.ips" -> "补丁文件 (*.bps *.ips)"; a caption that is its
// own pattern ("SLKV_618.04 | SLKV_618.04") -> "SLKV_618.04". Filters joined by ";;".
QString toQtFilter(const QString& filter);

}  // namespace vorlan
