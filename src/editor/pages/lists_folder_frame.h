#pragma once
// "名称列表": the folder the unit, pilot and skill names and the character table are read
// from, and a button to choose the player's own (remembered by the main window).

#include <QGroupBox>

class QLineEdit;

namespace vorlan {

class EditorContext;

class ListsFolderFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit ListsFolderFrame(EditorContext& context, QWidget* parent = nullptr);
    void showFolder();

signals:
    // A folder whose lists were read whole: the main window adopts and remembers it.
    void folderChosen(const QString& folder);

private:
    void choose();

    EditorContext& context_;
    QLineEdit* path_;
};

}  // namespace vorlan
