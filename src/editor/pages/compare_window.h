#pragma once
// "比较…": what differs from the open executable to another one, field by field, grouped by
// table and filterable; one field, whole entries, or everything shown can be taken over from
// the other file in one undoable write (shown as a preview first). Bytes that differ outside
// every field are listed too; they are never written.

#include <QWidget>
#include <filesystem>
#include <vector>

#include "bulk/diff.h"

class QLabel;
class QLineEdit;
class QStandardItemModel;
class QTreeView;

namespace vorlan {

class EditorContext;

class CompareWindow : public QWidget {
    Q_OBJECT
public:
    // Asks for the other executable and shows the window (one at a time); null when cancelled
    // or refused.
    static CompareWindow* open(EditorContext& context, QWidget* mainWindow);

    CompareWindow(EditorContext& context, std::filesystem::path other, QWidget* parent);

    // Reads both files again and lists what differs.
    void refresh();
    enum class Take { Fields, Entries, Shown };
    // Takes the selected fields, the entries of the selected rows, or every row shown.
    void take(Take what);

private:
    void fill();
    void applyFilter();
    std::vector<const FieldChange*> chosen(Take what) const;

    EditorContext& context_;
    std::filesystem::path other_;
    ExecutableDiff diff_;
    QStandardItemModel* model_;
    QTreeView* view_;
    QLineEdit* filter_;
    QLabel* summary_;
};

}  // namespace vorlan
