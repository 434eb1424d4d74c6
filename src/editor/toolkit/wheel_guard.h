#pragma once
// Combo boxes take the mouse wheel only when they have the focus, so scrolling a form
// past them never changes a value by accident.

class QWidget;

namespace vorlan {

// Applies the guard to every combo box under `root`.
void guardWheel(QWidget* root);

}  // namespace vorlan
