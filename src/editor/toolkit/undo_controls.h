#pragma once
// The editor's undo history within reach of every window that writes. The grids and the
// table windows are top-level windows of their own, which the main window's shortcuts do not
// reach: each gets its own keys (and a grid its own buttons) over the one history.

#include <utility>

class QPushButton;
class QUndoStack;
class QWidget;

namespace vorlan {

// Ctrl+Z / Ctrl+Y while `window` is active undo / redo the newest step of `stack`. A text
// box with typing of its own to undo takes them first (UndoKeys, installed by the main window).
void addUndoKeys(QWidget* window, QUndoStack* stack);

// Makes `undo` and `redo` act on `stack`, each enabled while there is a step for it and
// saying which in its tip, and on its face in at most `face` pixels ("撤销：底力补正 L1";
// 0: the verb alone, where the row has no room).
void nameUndoButtons(QPushButton* undo, QPushButton* redo, QUndoStack* stack, int face);
// "撤销" and "重做" over `stack`, named `prefix`Undo / `prefix`Redo, saying their step on
// their face.
std::pair<QPushButton*, QPushButton*> undoButtons(QUndoStack* stack, const char* prefix);

}  // namespace vorlan
