#pragma once
// The frame "机师技能养成": one pilot skill's training entry.

#include <QGroupBox>

namespace vorlan {

class EditorContext;

class SkillTrainingFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit SkillTrainingFrame(EditorContext& context, QWidget* parent = nullptr);

private:
    void fillSkills();
    EditorContext& context_;
};

}  // namespace vorlan
