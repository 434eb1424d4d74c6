#include "image/disc_image_frame.h"
#include "ui/text.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/editor_context.h"
#include "ui/dialogs.h"
#include "ui/widgets.h"

namespace vorlan {

DiscImageFrame::DiscImageFrame(EditorContext& context, QWidget* parent)
    : QGroupBox(u("文件替换程序(用于修改完后把ELF文件替换进ISO)"), parent), context_(context) {
    setObjectName("Frame14");
    auto* text44 = readOnlyBox("Text44", 260);
    auto* label = new QLabel(u("ISO镜像路径"));
    label->setBuddy(text44);
    auto* command14 = button("Command14", u("选择镜像"));
    auto* command20 = button("Command20", u("替换"));
    command20->setEnabled(false);
    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(text44, 1, 0, 1, 3);
    grid->addWidget(command14, 2, 1);
    grid->addWidget(command20, 2, 2);
    grid->setColumnStretch(0, 1);
    comingLater(command14, context_.dialogs());
}

}  // namespace vorlan
