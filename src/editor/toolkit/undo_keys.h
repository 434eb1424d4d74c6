#pragma once
// Ctrl+Z and Ctrl+Y go to the text box being edited while it has typing to undo or redo, and
// to the file's undo history otherwise. A text box takes these keys whenever it has the focus,
// which would leave the history out of reach from every form; this filter lets the key pass
// to the history's shortcut when the box has nothing of its own to undo or redo.

#include <QObject>

namespace vorlan {

class UndoKeys : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace vorlan
