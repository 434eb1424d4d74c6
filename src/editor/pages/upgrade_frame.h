#pragma once
// The frame "改造相关1": the unit upgrade costs and the weapon upgrade increments, one
// row at a time.

#include <QGroupBox>

namespace vorlan {

class EditorContext;

class UpgradeFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit UpgradeFrame(EditorContext& context, QWidget* parent = nullptr);

private:
    EditorContext& context_;
};

}  // namespace vorlan
