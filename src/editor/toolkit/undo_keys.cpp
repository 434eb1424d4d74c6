#include "toolkit/undo_keys.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace vorlan {

bool UndoKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const bool undo = key->matches(QKeySequence::Undo);
    const bool redo = key->matches(QKeySequence::Redo) ||
                      (key->key() == Qt::Key_Y && key->modifiers() == Qt::ControlModifier);
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit == nullptr || !(undo || redo))
        return false;
    const bool own = undo ? edit->isUndoAvailable() && !edit->isReadOnly()
                          : edit->isRedoAvailable() && !edit->isReadOnly();
    // Not delivered to the box: the shortcut of the history handles the key instead.
    return !own;
}

}  // namespace vorlan
