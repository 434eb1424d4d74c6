#pragma once
// What every page and window of the editor shares, one object per job: the dialogs, the
// open executable and its notifications, the pending-edit registry, the undo history, the
// guarded write and the watcher for other programs' changes. The main window owns it.

#include <QObject>
#include <QString>

#include "session/change_watcher.h"
#include "session/document_session.h"
#include "session/file_places.h"
#include "session/guarded_write.h"
#include "session/pending_edits.h"
#include "session/undo_history.h"

namespace vorlan {

class Dialogs;

class EditorContext : public QObject {
public:
    EditorContext(Dialogs& dialogs, const QString& dataDir, QObject* parent = nullptr)
        : QObject(parent),
          dialogs_(dialogs),
          pending_(dialogs),
          session_(dialogs, pending_, dataDir),
          history_(session_, dialogs),
          writer_(session_, history_, dialogs),
          watcher_(session_),
          places_(session_) {
        // A read-only file is never offered a write of edits.
        pending_.setWriteAllowed([this] { return !session_.isReadOnly(); });
    }

    Dialogs& dialogs() { return dialogs_; }
    PendingEdits& pending() { return pending_; }
    DocumentSession& session() { return session_; }
    UndoHistory& history() { return history_; }
    GuardedWrite& writer() { return writer_; }
    FilePlaces& places() { return places_; }

private:
    Dialogs& dialogs_;
    PendingEdits pending_;
    DocumentSession session_;
    UndoHistory history_;
    GuardedWrite writer_;
    ChangeWatcher watcher_;
    FilePlaces places_;
};

}  // namespace vorlan
