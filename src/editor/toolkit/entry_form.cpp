#include "toolkit/entry_form.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <algorithm>

#include "schema/name_bytes.h"
#include "schema/name_source.h"
#include "text/char_table.h"
#include "toolkit/form_binder.h"
#include "toolkit/icon_toggle.h"
#include "toolkit/lazy_tab.h"
#include "toolkit/name_notes.h"
#include "toolkit/note_label.h"
#include "toolkit/skin.h"
#include "toolkit/text.h"

namespace vorlan {

namespace {

// The widget that carries a field's mark: an icon toggle for its pictures, else the control
// (null while its inner page is not built).
QWidget* markable(QWidget* control) {
    if (auto* toggle = IconToggle::owning(control))
        return toggle;
    return control;
}

void mark(QWidget* control, const char* what, bool on) {
    if (QWidget* w = markable(control))
        setSkinMark(w, what, on);
}

}  // namespace

EntryForm::EntryForm(QWidget* root, const TableDef& table, NameSource& names)
    : QObject(root),
      root_(root),
      table_(table),
      names_(names),
      binder_(std::make_unique<FormBinder>(root, table)),
      controls_(table.fields.size(), nullptr) {
    for (std::size_t i = 0; i < table.fields.size(); ++i) {
        if (binder_->control(i) != nullptr)
            connectControl(i);
    }
    findNameBoxes();
    // An inner page built later brings its controls.
    for (LazyTab* tab : root->findChildren<LazyTab*>())
        connect(tab, &LazyTab::built, this, &EntryForm::attach);
    checkComplete();
    applyInput();  // no entry yet: nothing takes typing
}

void EntryForm::connectControl(std::size_t i) {
    QWidget* w = controls_[i] = binder_->control(i);
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

void EntryForm::findNameBoxes() {
    for (const DecodedName& d : table_.decoded) {
        const QString name = QString::fromStdString(d.control);
        const int field = table_.fieldIndex(d.field);
        const bool known = std::any_of(nameBoxes_.begin(), nameBoxes_.end(),
                                       [field](const auto& n) { return n->field == field; });
        auto* text = root_->findChild<QLineEdit*>(name);
        auto* code = qobject_cast<QLineEdit*>(control(field));
        if (known || text == nullptr || code == nullptr)
            continue;
        auto boxes = std::make_unique<NameBoxes>(NameBoxes{
            field, code, text, root_->findChild<NoteLabel*>(name + "Note"), {}, {}, true});
        NameBoxes* at = boxes.get();
        connect(text, &QLineEdit::textEdited, this,
                [this, at](const QString& typed) { typedName(*at, typed); });
        nameBoxes_.push_back(std::move(boxes));
    }
}

bool EntryForm::allBuilt() const {
    const auto tabs = root_->findChildren<LazyTab*>();
    return std::all_of(tabs.begin(), tabs.end(), [](const LazyTab* t) { return t->isBuilt(); });
}

std::vector<std::string> EntryForm::missingControls() const {
    return allBuilt() ? binder_->missing() : std::vector<std::string>{};
}

void EntryForm::checkComplete() {
    if (checked_ || !allBuilt())
        return;
    checked_ = true;
    for (const std::string& key : binder_->missing()) {
        qWarning("table %s: field %s has no control %s on its page; it is not shown",
                 table_.name.c_str(), key.c_str(), table_.field(key)->control.c_str());
    }
}

void EntryForm::attach() {
    const std::vector<std::size_t> found = binder_->attach(root_);
    filling_ = true;
    for (std::size_t i : found) {
        connectControl(i);
        fillNameList(i);
    }
    binder_->restore(found);
    findNameBoxes();
    namesStale();
    filling_ = false;
    checkComplete();
    applyInput();
    for (const auto& [field, value] : refused_)
        mark(control(field), "refused", true);
    update();
}

void EntryForm::buildAll() {
    buildLazyTabs(root_);
}

EntryForm::~EntryForm() = default;

QWidget* EntryForm::control(int field) const {
    return controls_.at(static_cast<std::size_t>(field));
}

void EntryForm::show(EntryEditor& editor, int index) {
    const EntryView view = editor.show(table_, index);
    for (const auto& [field, value] : refused_)
        mark(control(field), "refused", false);
    refused_.clear();
    filling_ = true;
    shownValues_ = view.values;
    shown_ = index;
    binder_->fill(shownValues_);
    namesStale();
    setEnabled(true);
    filling_ = false;
    update();
}

void EntryForm::fillNameLists() {
    filling_ = true;
    for (std::size_t i = 0; i < table_.fields.size(); ++i)
        fillNameList(i);
    filling_ = false;
}

void EntryForm::fillNameList(std::size_t i) {
    const NameList list = table_.fields[i].encoding->nameList();
    auto* combo = qobject_cast<QComboBox*>(controls_[i]);
    if (list == NameList::None || combo == nullptr)
        return;
    combo->clear();
    if (const auto* names = names_.names(list))
        combo->addItems(toStringList(*names));
    combo->setCurrentIndex(-1);
}

void EntryForm::clear(bool enabled) {
    filling_ = true;
    binder_->clear();
    for (const auto& name : nameBoxes_)
        name->text->clear();
    namesStale();
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
    namesStale();
    filling_ = false;
    update();
}

void EntryForm::setEnabled(bool enabled) {
    enabled_ = enabled;
    applyInput();
}

void EntryForm::setReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    applyInput();
}

void EntryForm::applyInput() {
    // A text box of a read-only file stays readable and selectable; what has no read-only
    // state of its own (a choice, a list, a toggle) takes no input at all.
    for (QWidget* w : controls_) {
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            edit->setEnabled(enabled_);
            edit->setReadOnly(readOnly_);
        } else if (QWidget* m = markable(w)) {
            m->setEnabled(enabled_ && !readOnly_);
        }
    }
    for (const auto& name : nameBoxes_) {
        name->text->setEnabled(enabled_);
        name->text->setReadOnly(readOnly_);
    }
}

std::vector<int> EntryForm::changedFields() const {
    std::vector<int> changed;
    if (shown_ < 0)
        return changed;
    const auto values = binder_->collect();
    for (std::size_t i = 0; i < values.size() && i < shownValues_.size(); ++i) {
        if (!(values[i] == shownValues_[i]))
            changed.push_back(static_cast<int>(i));
    }
    return changed;
}

EntryEdit EntryForm::edit() const {
    return EntryEdit{&table_, shown_, shownValues_, binder_->collect()};
}

void EntryForm::markRefused(const std::vector<int>& fields) {
    for (const auto& [field, value] : refused_)
        mark(control(field), "refused", false);
    refused_.clear();
    if (fields.empty())
        return;
    // Every refused box exists: inner pages not built yet are built now.
    const bool unbuilt =
        std::any_of(fields.begin(), fields.end(), [this](int f) { return control(f) == nullptr; });
    if (unbuilt)
        buildAll();
    const auto values = binder_->collect();
    for (int field : fields) {
        refused_.emplace_back(field, values[static_cast<std::size_t>(field)]);
        mark(control(field), "refused", true);
    }
    // The first refused field a control shows takes the focus (a field without one has
    // only the message).
    const auto shown =
        std::find_if(fields.begin(), fields.end(), [this](int f) { return control(f) != nullptr; });
    if (shown == fields.end())
        return;
    QWidget* w = control(*shown);
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
    if (w == nullptr)
        return u(binder_->collect()[static_cast<std::size_t>(field)].text);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->currentText();
    return {};
}

void EntryForm::namesStale() {
    for (const auto& name : nameBoxes_) {
        name->missing.clear();
        name->stale = true;
    }
}

void EntryForm::showName(NameBoxes& name) {
    const CharTable* chars = names_.chars();
    const FieldDef& f = table_.fields[static_cast<std::size_t>(name.field)];
    if (&name != typing_ && (name.stale || name.code->text() != name.codeShown)) {
        // A code typed or shown: its characters as a write stores it (cut to the field,
        // completed), and no characters left over from typing.
        name.missing.clear();
        name.stale = false;
        name.codeShown = name.code->text();
        const std::string stored = storedNameCode(f, name.code->text().toStdString());
        name.text->setText(chars != nullptr && shown_ >= 0 ? u(chars->decode(stored)) : QString());
    }
    setSkinMark(name.text, "refused", !name.missing.isEmpty());
    if (name.note == nullptr)
        return;
    if (shown_ < 0) {
        name.note->setNote(QString(), false);
        return;
    }
    NameNotes notes = nameNotes(f, name.code->text(), chars);
    if (!name.missing.isEmpty())
        notes.notes.prepend(missingText(name.missing) + u("，没有写进字码"));
    name.note->setNote(notes.text(), !notes.notes.isEmpty());
}

void EntryForm::typedName(NameBoxes& name, const QString& text) {
    const CharTable* chars = names_.chars();
    if (chars == nullptr || shown_ < 0)
        return;
    const TypedName typed = codesOfText(text, *chars);
    name.missing = typed.missing;
    name.codeShown = typed.codes;
    name.stale = false;
    typing_ = &name;
    // The code box changes as if typed there: marks, pending edits and notes follow.
    if (name.code->text() != typed.codes)
        name.code->setText(typed.codes);
    else
        showName(name);
    typing_ = nullptr;
}

void EntryForm::update() {
    if (filling_)
        return;
    for (const auto& name : nameBoxes_)
        showName(*name);
    const auto values = binder_->collect();
    bool dirty = false;
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const bool changed =
            shown_ >= 0 && i < shownValues_.size() && !(values[i] == shownValues_[i]);
        dirty = dirty || changed;
        mark(controls_[i], "edited", changed);
    }
    // A refusal mark stays until the refused value is changed.
    std::erase_if(refused_, [&](const auto& r) {
        const bool changed = shown_ < 0 || !(values[static_cast<std::size_t>(r.first)] == r.second);
        if (changed)
            mark(control(r.first), "refused", false);
        return changed;
    });
    if (dirty != dirty_) {
        dirty_ = dirty;
        emit dirtyChanged(dirty_);
    }
}

}  // namespace vorlan
