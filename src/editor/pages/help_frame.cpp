#include "pages/help_frame.h"

#include <QDir>
#include <QFont>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>

#include "image/region_key.h"
#include "io/text_file.h"
#include "toolkit/dialogs.h"
#include "toolkit/text.h"

namespace vorlan {

QString helpTextOf(const std::string& content) {
    QString text;
    for (const std::string& line : splitLines(content)) {
        text += QString::fromStdString(line) + '\n';
    }
    // The guide names the key's place in Linux's words; each system says it in its own.
    return text.replace(u("~/.config/vorlan/region.key"), u(regionKeyPlace()));
}

HelpFrame::HelpFrame(Dialogs& dialogs, QString dataDir, QWidget* parent)
    : QGroupBox(parent),
      dialogs_(dialogs),
      dataDir_(std::move(dataDir)),
      option1_(new QRadioButton(QString::fromUtf8("使用说明"))),
      option2_(new QRadioButton(QString::fromUtf8("查看静改资料"))),
      helpText_(new QPlainTextEdit) {
    setObjectName("Frame16");
    setTitle(QString::fromUtf8("说明"));
    option1_->setObjectName("Option1");
    option2_->setObjectName("Option2");
    helpText_->setObjectName("Text56");
    helpText_->setReadOnly(true);
    helpText_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The table reference lines up in columns only in a fixed-width font.
    QFont mono("WenQuanYi Zen Hei Mono");
    mono.setStyleHint(QFont::Monospace);
    helpText_->setFont(mono);

    auto* options = new QHBoxLayout;
    options->addWidget(option1_);
    options->addWidget(option2_);
    options->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(options);
    layout->addWidget(helpText_, 1);

    connect(option1_, &QRadioButton::clicked, this,
            [this] { showFile(QString::fromUtf8("使用说明.txt"), true); });
    connect(option2_, &QRadioButton::clicked, this, [this] { showFile("struct.txt", false); });
}

void HelpFrame::showFile(const QString& fileName, bool wrap) {
    helpText_->clear();
    // The guide's prose wraps at the box's width; the reference's tables line up only when
    // their lines stay whole.
    helpText_->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    const QString path = QDir(dataDir_).filePath(fileName);
    try {
        const std::string content = readTextFile(toPath(path));
        // Plain text: a line break in the box is one line of the file.
        helpText_->setPlainText(helpTextOf(content));
        // From its first line, wherever the text shown before was scrolled to.
        helpText_->moveCursor(QTextCursor::Start);
        helpText_->verticalScrollBar()->setValue(0);
        helpText_->horizontalScrollBar()->setValue(0);
    } catch (const DataFileError& e) {
        dialogs_.information(
            this, QString::fromUtf8("无法显示说明文件。\n") + QString::fromStdString(e.what()));
    }
}

}  // namespace vorlan
