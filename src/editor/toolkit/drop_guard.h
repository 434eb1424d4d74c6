#pragma once
// Files dropped on the editor. A text box never takes a dropped file: the drop goes on to
// its window, which opens the file (the main window) or says where to drop it (a secondary
// window), so a file's path never becomes an unsaved edit of a field. Text dragged within
// the program still lands in the box.

#include <QString>
#include <functional>

class QObject;
class QWidget;

namespace vorlan {

class Dialogs;

// From now on, for as long as `owner` lives, no text box of the program takes a dropped file,
// those made later (pages built when first shown, cell editors) included.
void refuseFileDropsOnTextBoxes(QObject* owner);
// A secondary `window` takes a dropped file only to say that files open in the main window,
// unless `takes` takes it (a grid takes a table file to import), after the drop is over.
void refuseFileDrops(QWidget* window, Dialogs& dialogs,
                     std::function<bool(const QString& path)> takes = {});

}  // namespace vorlan
