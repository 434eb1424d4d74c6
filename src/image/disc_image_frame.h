#pragma once
// The frame "文件替换程序": picks a disc image and copies the edited executable into it.

#include <QGroupBox>

namespace vorlan {

class EditorContext;

class DiscImageFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit DiscImageFrame(EditorContext& context, QWidget* parent = nullptr);

private:
    EditorContext& context_;
};

}  // namespace vorlan
