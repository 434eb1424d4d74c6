#pragma once
// The one way a page writes: through the document, answering a missing or untrusted backup
// with a question (a fresh dated backup, or writing without one) and trying again; a busy,
// replaced or failed file is shown in a message, a written step goes into the history and the
// status line. Refusals of the input are left to the caller, which knows the field.

#include <functional>

#include "document/document.h"
#include "document/entry_editor.h"

class QWidget;

namespace vorlan {

class Dialogs;
class DocumentSession;
class UndoHistory;

class GuardedWrite {
public:
    GuardedWrite(DocumentSession& session, UndoHistory& history, Dialogs& dialogs)
        : session_(session), history_(history), dialogs_(dialogs) {}

    WriteResult write(QWidget* parent, const std::function<WriteResult(EntryEditor&)>& change);
    // A change made outside the entry editor (an applied patch), written the same way.
    WriteResult writeChange(QWidget* parent, const Change& change);

private:
    DocumentSession& session_;
    UndoHistory& history_;
    Dialogs& dialogs_;
};

}  // namespace vorlan
