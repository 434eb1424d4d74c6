#pragma once
// Small constructors for the controls of the forms: each control gets its control name as
// its object name, so the binder, the tests and the command line can find it.

#include <QString>
#include <vector>

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace vorlan {

// An editable box of a fixed width; a read-only box of at least that width.
QLineEdit* textBox(const QString& name, int width = 70, QWidget* parent = nullptr);
QLineEdit* readOnlyBox(const QString& name, int width = 70, QWidget* parent = nullptr);
// An editable choice box (it accepts typed text), optionally with fixed items.
// A name's text box: its characters; typing them sets the name's code.
QLineEdit* nameTextBox(const QString& name, int width);
// The note of what that name's code will store, one line whatever it says (the form never
// moves), named `textBox` + "Note".
QWidget* nameNote(const QString& textBox);
QComboBox* choiceBox(const QString& name, const std::vector<std::string>& items = {},
                     int width = 110);
QPushButton* button(const QString& name, const QString& caption);
// A button that writes the executable: the main window turns every such button off while
// the file is open read-only. writeButton keeps its caption; saveButton is the plain
// "写入" of a form, whose key is Ctrl+S.
QPushButton* writeButton(const QString& name, const QString& caption);
QPushButton* saveButton(const QString& name);
bool writesFile(const QWidget* widget);
// A small "?" button beside a field, showing a hint.
QPushButton* hintButton(const QString& name, const QString& caption);
QLabel* caption(const QString& text);
QGroupBox* frame(const QString& title, const QString& name = {});
QListWidget* listBox(const QString& name, bool multiSelect = false);

// Adds "caption  control" pairs to a grid row: (text, widget), (text, widget), …
void addRow(QGridLayout* grid, int row, const std::vector<std::pair<QString, QWidget*>>& pairs);
// Adds one "caption  control" pair whose control spans `span` grid columns.
void addWideRow(QGridLayout* grid, int row, const QString& text, QWidget* widget, int span);

}  // namespace vorlan
