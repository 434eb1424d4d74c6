#pragma once
// The "机师修改" page: the pilot list and the three inner pages of one pilot record.

#include <QWidget>

class QListWidget;
class QTabWidget;

namespace vorlan {

class EditorContext;

class PilotPage : public QWidget {
    Q_OBJECT
public:
    explicit PilotPage(EditorContext& context, QWidget* parent = nullptr);

private:
    QWidget* buildBasicPage();
    QWidget* buildSpiritPage();
    QWidget* buildSkillPage();
    void fillNameLists();

    EditorContext& context_;
    QListWidget* list5_;
    QTabWidget* tabs_;
};

}  // namespace vorlan
