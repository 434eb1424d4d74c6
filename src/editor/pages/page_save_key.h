#pragma once
// Ctrl+S on a page with several record groups (其他修改): writes every group with unsaved
// edits in one write (one step, one status line), whichever box has the keyboard, or says on
// the status line that there is nothing to write.

#include <vector>

class QWidget;

namespace vorlan {

class EditorContext;
class RecordBrowser;

void addPageSaveKey(QWidget* page, EditorContext& context, std::vector<RecordBrowser*> browsers);

}  // namespace vorlan
