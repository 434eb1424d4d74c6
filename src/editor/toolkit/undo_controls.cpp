#include "toolkit/undo_controls.h"

#include <QPushButton>
#include <QShortcut>
#include <QUndoStack>

#include "toolkit/text.h"
#include "toolkit/widgets.h"

namespace vorlan {

void addUndoKeys(QWidget* window, QUndoStack* stack) {
    auto* undoKey = new QShortcut(QKeySequence::Undo, window);
    auto* redoKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), window);
    QObject::connect(undoKey, &QShortcut::activated, stack, &QUndoStack::undo);
    QObject::connect(redoKey, &QShortcut::activated, stack, &QUndoStack::redo);
}

void nameUndoButtons(QPushButton* undo, QPushButton* redo, QUndoStack* stack, int face) {
    // Each button says what it will undo or redo (the history may hold another page's write),
    // short on its face and whole in its tip.
    const auto name = [stack, face](QPushButton* b, const char* verb, const QString& what, int step,
                                    const char* idle, const char* key) {
        const QUndoCommand* command =
            step >= 0 && step < stack->count() ? stack->command(step) : nullptr;
        b->setText(what.isEmpty() || face <= 0
                       ? u(verb)
                       : u(verb) + u("：") +
                             b->fontMetrics().elidedText(what, Qt::ElideRight, face));
        b->setToolTip((command == nullptr ? u(idle) : u(verb) + u("：") + command->text()) + " (" +
                      key + ")");
    };
    const auto update = [=] {
        name(undo, "撤销", stack->undoText(), stack->index() - 1, "撤销上一次写入", "Ctrl+Z");
        name(redo, "重做", stack->redoText(), stack->index(), "重做撤销了的写入", "Ctrl+Y");
        undo->setEnabled(stack->canUndo());
        redo->setEnabled(stack->canRedo());
    };
    // Opened after some writes: the buttons start as the history stands.
    update();
    QObject::connect(stack, &QUndoStack::indexChanged, undo, update);
    QObject::connect(stack, &QUndoStack::cleanChanged, undo, update);
    QObject::connect(stack, &QUndoStack::undoTextChanged, undo, update);
    QObject::connect(stack, &QUndoStack::redoTextChanged, undo, update);
    QObject::connect(undo, &QPushButton::clicked, stack, &QUndoStack::undo);
    QObject::connect(redo, &QPushButton::clicked, stack, &QUndoStack::redo);
}

std::pair<QPushButton*, QPushButton*> undoButtons(QUndoStack* stack, const char* prefix) {
    auto* undo = button(QString(prefix) + "Undo", u("撤销"));
    auto* redo = button(QString(prefix) + "Redo", u("重做"));
    nameUndoButtons(undo, redo, stack, 120);
    return {undo, redo};
}

}  // namespace vorlan
