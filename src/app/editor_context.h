#pragma once
// What every page and window of the editor shares: the opened executable `exepath` as a
// document, the name lists and character table of the data folder, the dialogs, and the
// one way a page writes: through the document, with the backup questions asked here.

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "access/name_source.h"
#include "document/document.h"
#include "document/entry_editor.h"
#include "lists/name_lists.h"
#include "text/char_table.h"

class QFileSystemWatcher;
class QUndoStack;

namespace vorlan {

class Dialogs;

class EditorContext : public QObject, public NameSource {
    Q_OBJECT
public:
    EditorContext(Dialogs& dialogs, QString dataDir, QObject* parent = nullptr);
    ~EditorContext() override;

    Dialogs& dialogs() { return dialogs_; }
    const QString& dataDir() const { return dataDir_; }

    // The opened executable; empty until one is opened.
    const QString& exepath() const { return exepath_; }
    const NameLists& lists() const { return lists_; }
    const CharTable& charTable() const { return chars_; }

    // NameSource, for labels and decoded names.
    const std::vector<std::string>* names(NameList list) override;
    const CharTable* chars() override { return chars_.empty() ? nullptr : &chars_; }

    // Checks the file and the name lists and adopts both, or shows why not and keeps the
    // previous executable and lists. Returns true when adopted.
    bool openExecutable(const QString& path, QWidget* parent);

    // The entry editor over the open executable. Shows a message and returns null when
    // no executable is open.
    EntryEditor* editor(QWidget* parent);

    // The executable was opened read-only (no write permission): pages show, never write.
    bool isReadOnly() const { return readOnly_; }

    // The open executable, or null.
    Document* document() { return document_.get(); }

    // Runs one write through the document. Answers a missing or untrusted backup with a
    // question (a fresh dated backup, or writing without one) and tries again; reports a
    // busy, replaced or failed file in a message. Refusals of the input are left to the
    // caller, which knows the field. Notes go to the status line.
    WriteResult write(QWidget* parent, const std::function<WriteResult(EntryEditor&)>& change);

    // Shows a read failure; returns nothing.
    void readFailed(QWidget* parent, const std::exception& e);

    // Every write of the run as a named step; undo and redo go through the document.
    QUndoStack* undoStack() const { return undo_; }
    // Writes a step's old bytes back (forward = false) or its new bytes again. Refuses
    // with a message when the file no longer holds what the step left there.
    bool applyStep(const WriteStep& step, bool forward);

    // Unsaved edits. A page says whether it has some, and how to resolve them when the
    // executable is left (another file, "退出", closing the window).
    void setPending(QObject* page, bool pending);
    bool hasPending() const { return !pending_.isEmpty(); }
    // `owner`'s way of resolving its edits, forgotten when `owner` goes (a closed window).
    void addResolver(QObject* owner, std::function<bool(QWidget* parent)> resolve);
    // Asks about every page's unsaved edits; false when the user chose to stay.
    bool resolvePending(QWidget* parent);

signals:
    // The file's bytes changed under the pages (undo, redo, another program): pages show
    // their entry again, asking first when it has unsaved edits.
    void fileChanged(bool byOtherProgram);
    // Whether any page has unsaved edits now.
    void pendingChanged(bool any);
    // This program wrote a step (a write, an undo or a redo): pages showing those bytes
    // show them again, or, with unsaved edits, ask before overwriting them.
    void stepWritten(const vorlan::WriteStep& step);
    // A new executable (and with it fresh lists) has been adopted.
    void executableOpened();
    // A short note for the status line, such as the backup just made.
    void note(const QString& text);

private:
    void noteWritten(const WriteResult& result);
    void watch();
    void watchedFileChanged();
    // What the file looks like after this program's own write, to tell it from others'.
    QString stamp() const;

    Dialogs& dialogs_;
    QUndoStack* undo_;
    QFileSystemWatcher* watcher_;
    QString ownStamp_;
    QList<QObject*> pending_;
    std::vector<std::pair<QObject*, std::function<bool(QWidget*)>>> resolvers_;
    QString dataDir_;
    QString exepath_;
    NameLists lists_;
    CharTable chars_;
    std::unique_ptr<Document> document_;
    std::unique_ptr<EntryEditor> editor_;
    bool readOnly_ = false;
};

// The data folder beside the program.
QString programDataDir();

}  // namespace vorlan
