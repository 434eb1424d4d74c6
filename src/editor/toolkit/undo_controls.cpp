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

std::pair<QPushButton*, QPushButton*> undoButtons(QUndoStack* stack, const char* prefix) {
    auto* undo = button(QString(prefix) + "Undo", u("撤销"));
    auto* redo = button(QString(prefix) + "Redo", u("重做"));
    const auto undoTip = [undo](const QString& t) {
        undo->setToolTip((t.isEmpty() ? u("撤销上一次写入") : u("撤销：") + t) + " (Ctrl+Z)");
    };
    const auto redoTip = [redo](const QString& t) {
        redo->setToolTip((t.isEmpty() ? u("重做撤销了的写入") : u("重做：") + t) + " (Ctrl+Y)");
    };
    // Opened after some writes: the buttons start as the history stands.
    undo->setEnabled(stack->canUndo());
    redo->setEnabled(stack->canRedo());
    undoTip(stack->undoText());
    redoTip(stack->redoText());
    QObject::connect(stack, &QUndoStack::canUndoChanged, undo, &QPushButton::setEnabled);
    QObject::connect(stack, &QUndoStack::canRedoChanged, redo, &QPushButton::setEnabled);
    QObject::connect(stack, &QUndoStack::undoTextChanged, undo, undoTip);
    QObject::connect(stack, &QUndoStack::redoTextChanged, redo, redoTip);
    QObject::connect(undo, &QPushButton::clicked, stack, &QUndoStack::undo);
    QObject::connect(redo, &QPushButton::clicked, stack, &QUndoStack::redo);
    return {undo, redo};
}

}  // namespace vorlan
