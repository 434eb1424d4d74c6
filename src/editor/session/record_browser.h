#pragma once
// The part every record page shares: the list of a table's entries with its filter, the
// form showing the picked entry, its offset box, and the write, copy and paste of that
// entry with the unsaved-edit guard. A page adds its layout and what is its own (the unit
// page: the weapon slot form, the note line, the patches; every page: its hints).
//
// Every pick in the list (a click, also on the shown entry, or a key) first resolves the
// shown entry's unsaved edits, and ends with the list on the entry the form shows; every
// write, paste, undo or change by another program shows the entry again as it is now stored,
// and the game's own names in the list again.

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "document/document.h"
#include "document/entry_editor.h"
#include "session/pending_edits.h"

class QLineEdit;
class QWidget;

namespace vorlan {

class EditorContext;
class EntryChooser;
class EntryForm;
class EntryListView;
class ListFilter;

class RecordBrowser : public QObject {
    Q_OBJECT
public:
    // The page's own words for its entries and its copy and paste questions.
    struct Words {
        QString where;  // the page or window, for the question about unsaved edits
        QString noun;   // "机体"
        QString pickFirst;  // "请先在“选择机体”列表中选择要%1的机体。" (%1: the action)
        QString copyAsk;        // asked before a copy (pages that copy)
        QString pasteAsk;       // asked before a paste
        QString nothingCopied;  // a paste before any copy
    };

    // `chooser` is null for a page that shows one fixed entry (a block window); `offsetBox`
    // (the entry's file offset) may be null.
    RecordBrowser(EditorContext& context, QWidget* page, EntryForm& form, EntryChooser* chooser,
                  QLineEdit* offsetBox, Words words);
    // A filter box over a list chooser; it also matches the names the game stores.
    void setFilter(QLineEdit* box, EntryListView* list);

    EntryForm& form() { return form_; }
    int shown() const;
    // Whether the main form or a dependent one has unsaved edits.
    bool isDirty() const;
    // A further form written together with the main one while it shows an entry (the unit
    // page's weapon slot). Its unsaved edits count as the page's.
    void addDependent(EntryForm& form);

    // Fills the chooser and the name-list boxes, and empties the forms; done again for each
    // executable opened.
    void load();
    // Shows entry `row` in the main form (what a pick does), its unsaved edits resolved first.
    void showEntry(int row);
    // Shows entry `index` in a form; a read failure is reported and gives false.
    bool showIn(EntryForm& form, int index);
    // Unsaved edits (of `only`, or of any form): asks "写入 / 放弃 / 取消", with the page
    // brought forward when asked from another window. True when the page may go on.
    bool resolveEdits(QWidget* parent, EntryForm* only = nullptr);
    // The records with unsaved edits (of `only`, or of every form), as the question lists them.
    std::vector<PendingRecord> pendingRecords(const EntryForm* only = nullptr) const;
    // Drops the unsaved edits of every form; the entry is shown again as stored.
    void discardEdits();
    // "写入": the main form and every dependent form showing an entry. False when nothing
    // could be written (no entry, a refused value, a failed write).
    bool write();
    // The same for several browsers of one page at once (Ctrl+S over its groups): one write,
    // one step in the history, one status line; a refusal names every bad field of them all.
    static bool writeTogether(const std::vector<RecordBrowser*>& browsers);
    void copy();
    void paste();
    // Shows the shown entries again as stored now.
    void refresh();

signals:
    // A picked entry is shown (not after a refresh of the same entry).
    void entryShown(int index);
    // The main form was read again (after a pick or a refresh).
    void entryRead();
    // A write went through; `dependents` tells whether a dependent form was part of it.
    void written(bool dependents);

private:
    // What this browser adds to a write: its edits and the forms they came from.
    struct Batch {
        std::vector<EntryEdit> edits;
        std::vector<EntryForm*> forms;
    };
    // The edits to write, after the questions a write asks first; nothing when it may not go
    // on (no entry shown, a question answered no).
    std::optional<Batch> prepareWrite();
    void executableOpened();
    void fileChanged(bool byOtherProgram);
    // A write of this program elsewhere (another page, window, an undo) touched bytes this
    // page shows.
    void stepWritten(const WriteStep& step);
    bool showsBytesOf(const WriteStep& step) const;
    bool touchesTable(const WriteStep& step) const;
    // One message naming every refused field of a write, and their marks.
    void refused(const std::vector<EntryForm*>& forms, const WriteResult& result);
    // The names the game stores for every entry, for the list; empty when they cannot be read.
    QStringList readGameNames();
    void updatePending();
    bool needEntry(const QString& action);
    QString entryText(int index) const;

    EditorContext& context_;
    QWidget* page_;
    EntryForm& form_;
    std::vector<EntryForm*> dependents_;
    EntryChooser* chooser_;
    QLineEdit* offsetBox_;
    Words words_;
    ListFilter* filter_ = nullptr;
    std::vector<std::uint8_t> copied_;  // this page's copy buffer: one whole entry
    QString copiedName_;
    bool writing_ = false;      // this browser's own write is under way
    bool staleOnDisk_ = false;  // bytes shown with unsaved edits were written elsewhere since
    bool staleNoted_ = false;   // the status line holds the note of staleOnDisk_
};

}  // namespace vorlan
