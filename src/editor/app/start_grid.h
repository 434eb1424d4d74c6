#pragma once
// vorlan-editor --table TABLE: the grid of that table opened over the main window at the
// start, for players who edit in bulk.

#include <QString>

class QWidget;

namespace vorlan {

class MainWindow;

// Opens the grid of the table named `table` (a name parseEditorOptions accepted) over
// `window`, as its 表格 button would. Null when no executable is open (the player is told
// to open one) or `table` names none.
QWidget* openGridAtStart(MainWindow& window, const QString& table);

}  // namespace vorlan
