#pragma once
// Every write of the run as a named step in a QUndoStack; undo and redo write the step's
// bytes through the document, which refuses when the file no longer holds what the step
// left there (the history then stays where it was).

#include <QObject>
#include <QStringList>

#include "document/write_step.h"

class QUndoStack;
class QWidget;

namespace vorlan {

class Dialogs;
class DocumentSession;

class UndoHistory : public QObject {
    Q_OBJECT
public:
    UndoHistory(DocumentSession& session, Dialogs& dialogs, QObject* parent = nullptr);

    QUndoStack* stack() const { return stack_; }
    // A step just written, as the newest of the history.
    void push(const WriteStep& step);
    // Writes a step's old bytes back (forward = false) or its new bytes again, or shows why
    // not. True when written.
    bool applyStep(const WriteStep& step, bool forward);

private:
    DocumentSession& session_;
    Dialogs& dialogs_;
    QUndoStack* stack_;
    // The steps undone (or redone) in this turn of the event loop: one click in the history
    // may take several.
    QStringList turn_;
    bool turnForward_ = false;
};

}  // namespace vorlan
