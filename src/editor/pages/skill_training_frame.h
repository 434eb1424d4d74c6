#pragma once
// The frame "机师技能养成": one pilot skill's training entry, chosen in Combo29 (skills
// 1 to 32) and written with "写入" through the shared record flow.

#include <QGroupBox>

namespace vorlan {

class EditorContext;

class SkillTrainingFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit SkillTrainingFrame(EditorContext& context, QWidget* parent = nullptr);

private:
    EditorContext& context_;
};

}  // namespace vorlan
