#include "toolkit/widgets.h"

#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "toolkit/form_binder.h"
#include "toolkit/note_label.h"

namespace vorlan {

QLineEdit* textBox(const QString& name, int width, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    // Sized for the values it takes, so a form does not stretch a three-digit box.
    e->setFixedWidth(width);
    return e;
}

QLineEdit* readOnlyBox(const QString& name, int width, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMinimumWidth(width);
    e->setReadOnly(true);
    // Out of the Tab order (nothing to type there); a click still selects its text to copy.
    e->setFocusPolicy(Qt::ClickFocus);
    return e;
}

QLineEdit* nameTextBox(const QString& name, int width) {
    auto* text = textBox(name, width);
    text->setToolTip(
        QString::fromUtf8("名称的文字：输入或粘贴的字会按字码表换成字码，填进名称的字码框"));
    return text;
}

QWidget* nameNote(const QString& textBox) {
    return new NoteLabel(textBox + "Note");
}

namespace {

// Gives a choice box the completer of its items the first time it takes the keyboard. Qt makes one
// with every editable box, and making it costs about twenty times the box itself: a page of choice
// boxes would be built that much more slowly.
class CompleterOnFocus : public QObject {
public:
    explicit CompleterOnFocus(QComboBox* box) : QObject(box), box_(box) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            // As Qt's own: inline completion of the items, whatever the case typed.
            auto* completer = new QCompleter(box_->model(), box_);
            completer->setCaseSensitivity(Qt::CaseInsensitive);
            completer->setCompletionMode(QCompleter::InlineCompletion);
            box_->setCompleter(completer);
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    QComboBox* box_;
};

}  // namespace

QComboBox* choiceBox(const QString& name, const std::vector<std::string>& items, int width) {
    auto* c = new QComboBox;
    c->setObjectName(name);
    // The box takes typed text; the completer of its items comes when it is first used.
    auto* edit = new QLineEdit;
    edit->setCompleter(new QCompleter(edit));
    c->setLineEdit(edit);
    // The box takes the focus for its text box (its focus proxy).
    c->installEventFilter(new CompleterOnFocus(c));
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMinimumWidth(width);
    c->setMaxVisibleItems(20);
    if (!items.empty()) {
        c->addItems(toStringList(items));
        c->setCurrentIndex(-1);
    }
    return c;
}

QPushButton* button(const QString& name, const QString& caption) {
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

namespace {
constexpr const char* kWritesFile = "writesFile";
}  // namespace

QPushButton* writeButton(const QString& name, const QString& caption) {
    auto* b = button(name, caption);
    b->setProperty(kWritesFile, true);
    return b;
}

QPushButton* saveButton(const QString& name) {
    auto* b = writeButton(name, QString::fromUtf8("写入"));
    b->setToolTip(QString::fromUtf8("写入改动 (Ctrl+S)"));
    return b;
}

bool writesFile(const QWidget* widget) {
    return widget->property(kWritesFile).toBool();
}

QPushButton* hintButton(const QString& name, const QString& caption) {
    auto* b = button(name, caption);
    b->setFixedWidth(28);
    b->setToolTip(QString::fromUtf8("说明"));
    return b;
}

QLabel* caption(const QString& text) {
    auto* l = new QLabel(text);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QGroupBox* frame(const QString& title, const QString& name) {
    auto* g = new QGroupBox(title);
    if (!name.isEmpty())
        g->setObjectName(name);
    return g;
}

QListWidget* listBox(const QString& name, bool multiSelect) {
    auto* l = new QListWidget;
    l->setObjectName(name);
    l->setSelectionMode(multiSelect ? QAbstractItemView::MultiSelection
                                    : QAbstractItemView::SingleSelection);
    return l;
}

void addRow(QGridLayout* grid, int row, const std::vector<std::pair<QString, QWidget*>>& pairs) {
    int column = 0;
    for (const auto& [text, widget] : pairs) {
        if (!text.isEmpty()) {
            auto* label = caption(text);
            label->setBuddy(widget);
            grid->addWidget(label, row, column);
        }
        grid->addWidget(widget, row, column + 1);
        column += 2;
    }
}

void addWideRow(QGridLayout* grid, int row, const QString& text, QWidget* widget, int span) {
    auto* label = caption(text);
    label->setBuddy(widget);
    grid->addWidget(label, row, 0);
    grid->addWidget(widget, row, 1, 1, span);
}

}  // namespace vorlan
