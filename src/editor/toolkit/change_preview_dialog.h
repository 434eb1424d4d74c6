#pragma once
// The list of changes an import, a patch or a take-over is about to write: entry, field,
// old value and new value in a table (a model, however many rows), with the button that
// writes them and "取消".

#include <QDialog>

#include "toolkit/dialogs.h"

namespace vorlan {

class ChangePreviewDialog : public QDialog {
    Q_OBJECT
public:
    ChangePreviewDialog(const ChangePreview& preview, QWidget* parent = nullptr);
};

}  // namespace vorlan
