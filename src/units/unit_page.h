#pragma once
// The "机体武器修改" page: the unit list, the four inner pages of one unit's header and
// weapon slot, the write button with its note line, and the copy, paste and patch buttons.

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;

namespace vorlan {

class EditorContext;

class UnitPage : public QWidget {
    Q_OBJECT
  public:
    explicit UnitPage(EditorContext& context, QWidget* parent = nullptr);

  private:
    QWidget* buildBasicPage();
    QWidget* buildWeaponPage();
    QWidget* buildOtherPage();
    QWidget* buildSkillPage();
    void fillNameLists();

    EditorContext& context_;
    QListWidget* list1_;
    QListWidget* list2_;
    QTabWidget* tabs_;
    QLineEdit* text13_;
    QLineEdit* text37_;
    QLabel* label12_;
};

}  // namespace vorlan
