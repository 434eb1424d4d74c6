#pragma once
// The executable the editor has open, with the name lists and character table read for it,
// and the notifications every page and window subscribes to: a file opened, bytes written by
// this program (a write, an undo, a redo), bytes changed by another program, status notes.

#include <QObject>
#include <QString>
#include <exception>
#include <memory>
#include <optional>
#include <span>

#include "document/document.h"
#include "document/entry_editor.h"
#include "io/output_file.h"
#include "io/posix_file.h"
#include "lists/name_lists.h"
#include "schema/name_source.h"
#include "text/char_table.h"

class QWidget;

namespace vorlan {

class Dialogs;
class PendingEdits;

class DocumentSession : public QObject, public NameSource {
    Q_OBJECT
public:
    DocumentSession(Dialogs& dialogs, PendingEdits& pending, QString dataDir,
                    QObject* parent = nullptr);
    ~DocumentSession() override;

    const QString& dataDir() const { return dataDir_; }
    // The folder whose lists stand in for those `dataDir` lacks (empty: none, every list
    // must be in `dataDir`). Kept until a folder is chosen.
    void setListsFallback(const QString& folder) { listsFallback_ = folder; }
    // The lists' folders as the player reads them.
    QString listsShown() const;
    // After a write of `edits`: says, as the command line does, each value it stored other
    // than as typed (a name cut to its field or completed to whole bytes, a number a signed
    // field reads otherwise, a fraction rounded).
    void sayWriteNotes(QWidget* parent, const std::vector<EntryEdit>& edits);
    // Name lists from now on come from `folder`; an open executable is opened again (its
    // unsaved edits asked about first) so that its lists are read from there. False when
    // the player chose to stay.
    bool setDataDir(const QString& folder, QWidget* parent);
    // The opened executable `exepath`; empty until one is opened.
    const QString& exepath() const { return exepath_; }
    const NameLists& lists() const { return lists_; }
    const CharTable& charTable() const { return chars_; }
    // The executable was opened read-only (no write permission, or another program lets
    // others only read it): pages show, never write. Why, in a phrase, while it is so.
    bool isReadOnly() const { return readOnly_; }
    const QString& readOnlyReason() const { return readOnlyWhy_; }
    // How many executables have been adopted so far (a read can tell it was opened again).
    int openCount() const { return openCount_; }
    // Another program replaced the file since it was opened (seen by the watcher or a read).
    bool isReplaced() const { return replaced_; }

    // NameSource, for labels and decoded names.
    const std::vector<std::string>* names(NameList list) override;
    const CharTable* chars() override { return chars_.empty() ? nullptr : &chars_; }

    // The character table file chosen with "字码表…" (empty: the data folder's).
    const QString& charFile() const { return charFile_; }
    // Reads `path` (a .tbl, or a list in string.txt's form) and uses it as the character table
    // from now on, for this executable and the next; or shows why not and keeps the current
    // one. True when adopted.
    bool useCharFile(const QString& path, QWidget* parent);

    // Checks the file and the name lists, asks about unsaved edits, and adopts both; or
    // shows why not and keeps the previous executable and lists. True when adopted.
    bool openExecutable(const QString& path, QWidget* parent);
    // "另存为…": copies the open executable to `path` as a new file (never over anything there,
    // never through a link) and edits that file from now on, unsaved edits and history kept.
    // A file moved away or replaced since it was opened is copied as it was opened, so its
    // edits can be rescued. Shows why not and keeps the open file; true when done.
    bool saveCopyAs(const QString& path, QWidget* parent);

    // The open executable, or null.
    Document* document() { return document_.get(); }
    // Writes a file the player asked for (an export, a patch): new, or with `replace` in
    // place of a regular file there; never over the open executable or its side files.
    // Takes its folder's lock and clears what a killed run left under its fresh names, unless
    // `folderHeld` (the caller holds an OutputFolder there). Throws IoError saying why not.
    void writeOutput(const QString& path, std::span<const std::uint8_t> bytes, bool replace,
                     bool folderHeld = false) const;
    // What such a file must never replace: the open executable and its side files, and the
    // files kept beside a disc image.
    KeptFiles keptFiles() const;
    // The entry editor over it; shows a message and returns null when none is open.
    EntryEditor* editor(QWidget* parent);
    // Shows a read failure; a file found replaced is offered to be opened again.
    void readFailed(QWidget* parent, const std::exception& e);
    // A read or write found the file replaced: asks whether to open it again (unsaved edits
    // asked about first). Further reads and writes of the same user action say nothing more.
    void fileReplaced(QWidget* parent);

    // This program wrote `step`; `text` is the status note that says so, also on the status
    // line of `from`'s window when that is a small window.
    void announceWrite(const WriteStep& step, const QString& text, QWidget* from = nullptr);
    // A status note of an action taken in `from`'s window (null: no window of its own).
    void say(QWidget* from, const QString& text);
    // Another program changed the file in place, or replaced it (then pages are not asked
    // to read it: their next read offers to open it again).
    void announceChangeElsewhere(const QString& time);

signals:
    // A new executable (and with it fresh lists) has been adopted.
    void executableOpened();
    // The open executable is now another file with the same bytes (另存为): pages keep what
    // they show and their edits.
    void executableMoved();
    // The file's bytes changed under the pages (undo, redo, another program): pages show
    // their entry again, asking first when they have unsaved edits.
    void fileChanged(bool byOtherProgram);
    // This program wrote a step (a write, an undo or a redo): pages showing those bytes show
    // them again, or, with unsaved edits, ask before overwriting them.
    void stepWritten(const vorlan::WriteStep& step);
    // This program's own write reached the file (for the change watcher).
    void wroteFile();
    // A short note for the status line, such as the backup just made.
    void note(const QString& text);
    // The same note for the window an action was taken in: a small window covering the main
    // one shows its own last result.
    void windowNote(QWidget* window, const QString& text);

private:
    ListFolder listFolder() const;
    Dialogs& dialogs_;
    PendingEdits& pending_;
    QString dataDir_;
    QString listsFallback_;
    QString exepath_;
    QString charFile_;
    NameLists lists_;
    CharTable chars_;
    std::unique_ptr<Document> document_;
    // The opened file, held open for reading: a copy can be made of it after it was moved away.
    std::optional<PosixFile> held_;
    void holdFile();
    void listenForRecovery();
    std::unique_ptr<EntryEditor> editor_;
    bool readOnly_ = false;
    QString readOnlyWhy_;
    int openCount_ = 0;
    bool replaced_ = false;
    bool toldThisTurn_ = false;  // a replacement was told during this user action
    bool reopening_ = false;
    bool wroteWhileReopening_ = false;
};

}  // namespace vorlan
