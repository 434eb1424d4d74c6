#pragma once
// The help texts on the "使用相关" page: "使用说明" shows the usage guide, "查看静改资料"
// the table reference, both read from the data folder line by line into its text box.

#include <QGroupBox>

class QPlainTextEdit;
class QRadioButton;

namespace vorlan {

class Dialogs;

class HelpFrame : public QGroupBox {
    Q_OBJECT
public:
    HelpFrame(Dialogs& dialogs, QString dataDir, QWidget* parent = nullptr);

    // Empties the text box, then shows every line of the file followed by a line break, from the
    // top; `wrap`: long lines wrap at the box's width.
    void showFile(const QString& fileName, bool wrap);

private:
    Dialogs& dialogs_;
    QString dataDir_;
    QRadioButton* option1_;
    QRadioButton* option2_;
    QPlainTextEdit* helpText_;
};

// The text that the box shows for a file's (decoded) content: each line followed by a
// line break, so the text always ends with one and an empty file shows nothing.
QString helpTextOf(const std::string& content);

}  // namespace vorlan
