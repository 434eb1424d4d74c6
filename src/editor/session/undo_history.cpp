#include "session/undo_history.h"

#include <QApplication>
#include <QTimer>
#include <QUndoStack>

#include "session/document_session.h"
#include "session/entry_names.h"
#include "toolkit/dialogs.h"
#include "toolkit/text.h"

namespace vorlan {

namespace {

// One write of the run in the undo history. Its first redo is the write itself, already
// done; later ones write the step again. A step the document refuses to undo or redo puts
// the history back where it was.
class WriteCommand final : public QUndoCommand {
public:
    WriteCommand(UndoHistory& history, WriteStep step) : history_(history), step_(std::move(step)) {
        // The history lists the whole label; the undo and redo buttons name what they touch.
        setText(stepLabel(step_) + '\n' + stepName(step_));
    }
    void undo() override { run(false); }
    void redo() override { run(true); }

private:
    void run(bool forward) {
        if (skip_) {
            skip_ = false;
            return;
        }
        if (history_.applyStep(step_, forward))
            return;
        skip_ = true;
        QUndoStack* stack = history_.stack();
        QTimer::singleShot(0, stack, [stack, forward] { forward ? stack->undo() : stack->redo(); });
    }
    UndoHistory& history_;
    WriteStep step_;
    bool skip_ = true;
};

}  // namespace

UndoHistory::UndoHistory(DocumentSession& session, Dialogs& dialogs, QObject* parent)
    : QObject(parent), session_(session), dialogs_(dialogs), stack_(new QUndoStack(this)) {
    // Steps of another file cannot be undone in this one.
    connect(&session_, &DocumentSession::executableOpened, stack_, &QUndoStack::clear);
}

void UndoHistory::push(const WriteStep& step) {
    stack_->push(new WriteCommand(*this, step));
}

bool UndoHistory::applyStep(const WriteStep& step, bool forward) {
    Document* document = session_.document();
    if (document == nullptr)
        return false;
    const WriteResult result = forward ? document->redo(step) : document->undo(step);
    if (!result.recoveryNote.empty())
        dialogs_.information(nullptr, u(result.recoveryNote));
    if (result.status == WriteResult::Status::Replaced) {
        // Another program's file is not undone into: it is offered to be opened again, once
        // this step is out of the stack's hands (opening it clears the history).
        QTimer::singleShot(0, &session_, [this] { session_.fileReplaced(nullptr); });
        return false;
    }
    if (result.status != WriteResult::Status::Written) {
        dialogs_.information(nullptr, u(result.message));
        return false;
    }
    // Says which writes were undone or redone: a jump in the history names every step of it.
    if (turn_.isEmpty() || turnForward_ != forward) {
        if (turn_.isEmpty())
            QTimer::singleShot(0, this, [this] { turn_.clear(); });
        turn_.clear();
        turnForward_ = forward;
    }
    turn_ << stepLabel(step);
    // Said also in the window it was asked from (a small window's 撤销 covers the main one).
    session_.announceWrite(step, u(forward ? "已重做：" : "已撤销：") + turn_.join(u("；")),
                           QApplication::activeWindow());
    return true;
}

}  // namespace vorlan
