#include "pages/lookup_frame.h"
#include "ui/text.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "text/utf8.h"
#include "ui/dialogs.h"
#include "ui/editor_context.h"
#include "ui/widgets.h"

namespace vorlan {

LookupFrame::LookupFrame(EditorContext& context, QWidget* parent)
    : QGroupBox(u("字码查找（用于修改机体机师名等文本）"), parent),
      context_(context),
      text54_(textBox("Text54", 200)),
      text55_(readOnlyBox("Text55", 200)) {
    setObjectName("Frame15");
    auto* command15 = button("Command15", u("字符转字码"));
    auto* tableButton = button("CharTableButton", u("字码表…"));
    tableButton->setToolTip(u(
        "选择其他工具的字码表（.tbl，每行“XXXX=字”）或 string.txt 格式的文件，代替 data 文件夹里的 "
        "string.txt"));
    auto* label30 = new QLabel(u("注意：如果游戏字库里没有该字，则修改编码后游戏中没有字体显示"));
    label30->setObjectName("Label30");
    label30->setWordWrap(true);
    auto* inputLabel = new QLabel(u("输入要查找的字符串"));
    inputLabel->setBuddy(text54_);
    auto* outputLabel = new QLabel(u("字码（H）"));
    outputLabel->setBuddy(text55_);

    auto* grid = new QGridLayout(this);
    grid->addWidget(inputLabel, 0, 0);
    grid->addWidget(text54_, 1, 0);
    grid->addWidget(command15, 1, 1);
    grid->addWidget(tableButton, 0, 1);
    grid->addWidget(outputLabel, 2, 0);
    grid->addWidget(text55_, 3, 0, 1, 2);
    grid->addWidget(label30, 4, 0, 1, 2);
    grid->setColumnStretch(0, 1);

    connect(command15, &QPushButton::clicked, this, &LookupFrame::lookup);
    connect(text54_, &QLineEdit::returnPressed, this, &LookupFrame::lookup);
    connect(tableButton, &QPushButton::clicked, this, &LookupFrame::chooseCharTable);
}

void LookupFrame::chooseCharTable() {
    const QString path = context_.dialogs().openFile(this, u("字码表(*.tbl, *.txt) | *.tbl *.txt"));
    if (!path.isEmpty() && context_.session().useCharFile(path, this))
        text55_->clear();
}

void LookupFrame::lookup() {
    const std::string input = text54_->text().toStdString();
    if (utf8::length(input) > CharTable::kMaxText) {
        context_.dialogs().information(this,
                                       u("要查找的文字太长：最多 255 个字符，请分几次查找。"));
        return;
    }
    if (input.empty()) {
        text55_->clear();
        return;
    }
    if (context_.session().charTable().empty()) {
        context_.dialogs().information(this, u("字库尚未读入：请先点击“打开”选择游戏主程序。"));
        return;
    }
    const CharTable::Lookup result = context_.session().charTable().lookup(input);
    if (!result.found) {
        context_.dialogs().information(this, u("没有查找到匹配的字符串"));
        text55_->clear();
        return;
    }
    text55_->setText(QString::fromStdString(result.codes));
}

}  // namespace vorlan
