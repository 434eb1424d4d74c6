#include "toolkit/entry_form.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>

#include "schema/name_bytes.h"
#include "schema/name_source.h"
#include "text/char_table.h"
#include "toolkit/form_binder.h"
#include "toolkit/icon_toggle.h"
#include "toolkit/skin.h"

namespace vorlan {

namespace {

// The widget that carries a field's mark: an icon toggle for its pictures, else the control.
QWidget* markable(QWidget* control) {
    if (auto* toggle = IconToggle::owning(control))
        return toggle;
    return control;
}

}  // namespace

EntryForm::EntryForm(QWidget* root, const TableDef& table, NameSource& names)
    : QObject(root),
      root_(root),
      table_(table),
      names_(names),
      binder_(std::make_unique<FormBinder>(root, table)) {
    for (std::size_t i = 0; i < table.fields.size(); ++i) {
        QWidget* w = binder_->control(i);
        controls_.push_back(w);
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            connect(edit, &QLineEdit::textChanged, this, &EntryForm::update);
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            connect(combo, &QComboBox::currentIndexChanged, this, &EntryForm::update);
            connect(combo, &QComboBox::editTextChanged, this, &EntryForm::update);
        } else if (auto* list = qobject_cast<QListWidget*>(w)) {
            connect(list, &QListWidget::itemSelectionChanged, this, &EntryForm::update);
        } else if (auto* toggle = IconToggle::owning(w)) {
            connect(toggle, &IconToggle::toggled, this, &EntryForm::update);
        }
    }
    for (const DecodedName& d : table.decoded) {
        auto* box = root->findChild<QWidget*>(QString::fromStdString(d.control));
        if (box != nullptr)
            decodedBoxes_.emplace_back(table.fieldIndex(d.field), box);
    }
}

EntryForm::~EntryForm() = default;

QWidget* EntryForm::control(int field) const {
    return controls_.at(static_cast<std::size_t>(field));
}

void EntryForm::show(EntryEditor& editor, int index) {
    const EntryView view = editor.show(table_, index);
    for (const auto& [field, value] : refused_)
        setSkinMark(markable(control(field)), "refused", false);
    refused_.clear();
    filling_ = true;
    shownValues_ = view.values;
    shown_ = index;
    binder_->fill(shownValues_);
    setEnabled(true);
    filling_ = false;
    update();
}

void EntryForm::fillNameLists() {
    filling_ = true;
    for (std::size_t i = 0; i < table_.fields.size(); ++i) {
        const NameList list = table_.fields[i].encoding->nameList();
        auto* combo = qobject_cast<QComboBox*>(controls_[i]);
        if (list == NameList::None || combo == nullptr)
            continue;
        combo->clear();
        if (const auto* names = names_.names(list))
            combo->addItems(toStringList(*names));
        combo->setCurrentIndex(-1);
    }
    filling_ = false;
}

void EntryForm::clear(bool enabled) {
    filling_ = true;
    binder_->clear();
    for (const auto& [field, box] : decodedBoxes_) {
        if (auto* edit = qobject_cast<QLineEdit*>(box))
            edit->clear();
    }
    shownValues_.clear();
    shown_ = -1;
    setEnabled(enabled);
    filling_ = false;
    update();
}

void EntryForm::revert() {
    if (shown_ < 0)
        return;
    filling_ = true;
    binder_->fill(shownValues_);
    filling_ = false;
    update();
}

void EntryForm::setEnabled(bool enabled) {
    for (QWidget* w : controls_)
        markable(w)->setEnabled(enabled);
}

EntryEdit EntryForm::edit() const {
    return EntryEdit{&table_, shown_, shownValues_, binder_->collect()};
}

void EntryForm::markRefused(const std::vector<int>& fields) {
    for (const auto& [field, value] : refused_)
        setSkinMark(markable(control(field)), "refused", false);
    refused_.clear();
    if (fields.empty())
        return;
    const auto values = binder_->collect();
    for (int field : fields) {
        refused_.emplace_back(field, values[static_cast<std::size_t>(field)]);
        setSkinMark(markable(control(field)), "refused", true);
    }
    QWidget* w = control(fields.front());
    // Bring forward every tab page on the way up to the first control.
    for (QWidget* child = w; child != nullptr && child != root_->window();
         child = child->parentWidget()) {
        QWidget* parent = child->parentWidget();
        if (auto* stack = qobject_cast<QStackedWidget*>(parent)) {
            if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
                tabs->setCurrentWidget(child);
        }
    }
    w->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->selectAll();
}

QString EntryForm::controlText(int field) const {
    QWidget* w = control(field);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->currentText();
    return {};
}

void EntryForm::decodeNames() {
    const CharTable* chars = names_.chars();
    for (const auto& [field, box] : decodedBoxes_) {
        auto* out = qobject_cast<QLineEdit*>(box);
        auto* in = qobject_cast<QLineEdit*>(control(field));
        if (out == nullptr || in == nullptr)
            continue;
        // What a write stores, not what was typed: a code cut to the field or completed.
        const std::string stored = storedNameCode(table_.fields[static_cast<std::size_t>(field)],
                                                  in->text().toStdString());
        out->setText(chars != nullptr && shown_ >= 0 ? QString::fromStdString(chars->decode(stored))
                                                     : QString());
    }
}

void EntryForm::update() {
    if (filling_)
        return;
    decodeNames();
    const auto values = binder_->collect();
    bool dirty = false;
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const bool changed =
            shown_ >= 0 && i < shownValues_.size() && !(values[i] == shownValues_[i]);
        dirty = dirty || changed;
        setSkinMark(markable(controls_[i]), "edited", changed);
    }
    // A refusal mark stays until the refused value is changed.
    std::erase_if(refused_, [&](const auto& r) {
        const bool changed = shown_ < 0 || !(values[static_cast<std::size_t>(r.first)] == r.second);
        if (changed)
            setSkinMark(markable(control(r.first)), "refused", false);
        return changed;
    });
    if (dirty != dirty_) {
        dirty_ = dirty;
        emit dirtyChanged(dirty_);
    }
}

}  // namespace vorlan
