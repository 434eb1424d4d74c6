#pragma once
// The frame "字码查找": turns typed characters into the game's code text, so that new
// names can be composed and pasted into a name code box, and code text back into characters.

#include <QGroupBox>

class QLineEdit;

namespace vorlan {

class EditorContext;

// The box of the characters to look up; the menu's "字码查找" puts the focus there.
inline constexpr const char* kLookupInputName = "Text54";

class LookupFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit LookupFrame(EditorContext& context, QWidget* parent = nullptr);

    // `Command15`: looks up every character of the input box and puts the codes beside it.
    void lookup();
    // "字码转字符": the characters of the code text typed in DecodeInput.
    void decode();
    // "字码表…": a character table of another tool (.tbl) or a string.txt to use instead.
    void chooseCharTable();

private:
    EditorContext& context_;
    QLineEdit* lookupInput_;
    QLineEdit* lookupCodes_;
    QLineEdit* codeInput_;
    QLineEdit* decoded_;
};

}  // namespace vorlan
