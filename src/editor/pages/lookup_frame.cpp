#include "pages/lookup_frame.h"
#include "toolkit/text.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>

#include "session/editor_context.h"
#include "text/utf8.h"
#include "toolkit/dialogs.h"
#include "toolkit/widgets.h"

namespace vorlan {

LookupFrame::LookupFrame(EditorContext& context, QWidget* parent)
    : QGroupBox(u("字码查找（用于修改机体机师名等文本）"), parent),
      context_(context),
      lookupInput_(textBox(kLookupInputName, 200)),
      lookupCodes_(readOnlyBox("Text55", 200)),
      codeInput_(textBox("DecodeInput", 200)),
      decoded_(readOnlyBox("DecodeOutput", 200)) {
    setObjectName("Frame15");
    auto* lookupButton = button("Command15", u("字符转字码"));
    auto* tableButton = button("CharTableButton", u("字码表…"));
    tableButton->setToolTip(u(
        "选择其他工具的字码表（.tbl，每行“XXXX=字”）或 string.txt 格式的文件，代替 data 文件夹里的 "
        "string.txt"));
    auto* missingGlyphNote =
        new QLabel(u("注意：如果游戏字库里没有该字，则修改编码后游戏中没有字体显示"));
    missingGlyphNote->setObjectName("Label30");
    missingGlyphNote->setWordWrap(true);
    auto* inputLabel = new QLabel(u("输入要查找的字符串"));
    inputLabel->setBuddy(lookupInput_);
    auto* outputLabel = new QLabel(u("字码（H）"));
    outputLabel->setBuddy(lookupCodes_);

    auto* grid = new QGridLayout(this);
    grid->addWidget(inputLabel, 0, 0);
    grid->addWidget(lookupInput_, 1, 0);
    grid->addWidget(lookupButton, 1, 1);
    grid->addWidget(tableButton, 0, 1);
    grid->addWidget(outputLabel, 2, 0);
    grid->addWidget(lookupCodes_, 3, 0, 1, 2);
    auto* decodeButton = button("DecodeButton", u("字码转字符"));
    decodeButton->setToolTip(u("把字码（每个字四位十六进制数字，如 894A9193）转换为文字"));
    codeInput_->setPlaceholderText(u("输入字码，如 894A9193"));
    grid->addWidget(codeInput_, 4, 0);
    grid->addWidget(decodeButton, 4, 1);
    grid->addWidget(decoded_, 5, 0, 1, 2);
    grid->addWidget(missingGlyphNote, 6, 0, 1, 2);
    connect(decodeButton, &QPushButton::clicked, this, &LookupFrame::decode);
    connect(codeInput_, &QLineEdit::returnPressed, this, &LookupFrame::decode);
    grid->setColumnStretch(0, 1);

    connect(lookupButton, &QPushButton::clicked, this, &LookupFrame::lookup);
    connect(lookupInput_, &QLineEdit::returnPressed, this, &LookupFrame::lookup);
    connect(tableButton, &QPushButton::clicked, this, &LookupFrame::chooseCharTable);
}

void LookupFrame::chooseCharTable() {
    FilePlaces& places = context_.places();
    const QString path = context_.dialogs().openFile(this, u("字码表(*.tbl, *.txt) | *.tbl *.txt"),
                                                     places.folder(FilePlaces::Kind::CharTable));
    if (path.isEmpty())
        return;
    places.chosen(FilePlaces::Kind::CharTable, path);
    if (context_.session().useCharFile(path, this))
        lookupCodes_->clear();
}

void LookupFrame::lookup() {
    const std::string input = lookupInput_->text().toStdString();
    if (utf8::length(input) > CharTable::kMaxText) {
        context_.dialogs().information(this,
                                       u("要查找的文字太长：最多 255 个字符，请分几次查找。"));
        return;
    }
    if (input.empty()) {
        lookupCodes_->clear();
        return;
    }
    if (context_.session().charTable().empty()) {
        context_.dialogs().information(this, u("字库尚未读入：请先点击“打开”选择游戏主程序。"));
        return;
    }
    const CharTable& chars = context_.session().charTable();
    const CharTable::Lookup result = chars.lookup(input);
    if (!result.found) {
        // Every character without a code, and where it stands.
        QStringList missing;
        const auto characters = utf8::characters(input);
        for (std::size_t i = 0; i < characters.size(); ++i) {
            if (!chars.codeOf(characters[i]))
                missing << u("「") + u(characters[i]) + u("」（第 %1 个字）").arg(i + 1);
        }
        lookupCodes_->clear();
        context_.dialogs().information(
            this, u("没有查找到匹配的字符串\n字码表中没有这些字：") + missing.join(u("、")));
        return;
    }
    lookupCodes_->setText(QString::fromStdString(result.codes));
}

void LookupFrame::decode() {
    decoded_->clear();
    const QString code = codeInput_->text().trimmed().remove(' ').toUpper();
    if (code.isEmpty())
        return;
    if (context_.session().charTable().empty()) {
        context_.dialogs().information(this, u("字库尚未读入：请先点击“打开”选择游戏主程序。"));
        return;
    }
    static const QRegularExpression hex("^[0-9A-F]*$");
    if (!hex.match(code).hasMatch() || code.size() % 4 != 0 ||
        static_cast<std::size_t>(code.size()) > CharTable::kMaxText * 4) {
        context_.dialogs().information(
            this, u("字码应为十六进制数字，每个字四位（如 894A9193），最多 255 个字。"));
        return;
    }
    const CharTable& chars = context_.session().charTable();
    QStringList unknown;
    for (qsizetype at = 0; at < code.size(); at += 4) {
        if (chars.decode(code.mid(at, 4).toStdString()).empty())
            unknown << u("第 %1 组「%2」").arg(at / 4 + 1).arg(code.mid(at, 4));
    }
    decoded_->setText(u(chars.decode(code.toStdString())));
    if (!unknown.isEmpty()) {
        context_.dialogs().information(
            this, u("这些字码在字码表中没有对应的字，已略去：") + unknown.join(u("、")));
    }
}

}  // namespace vorlan
