#include "session/undo_history.h"

#include <QTimer>
#include <QUndoStack>

#include "session/document_session.h"
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
        setText(QString::fromStdString(step_.label));
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
    // A step told field by field says, undone, what the values are now (its change the other
    // way round); a step with a name of its own (a grid's write, an import) is named.
    QString text;
    if (step.undoLabel.empty())
        text = u(forward ? "已重做：" : "已撤销：") + u(step.label);
    else
        text = forward ? u("已重做 ") + u(step.label) : u("已撤销，现在 ") + u(step.undoLabel);
    session_.announceWrite(step, text);
    return true;
}

}  // namespace vorlan
