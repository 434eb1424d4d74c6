#include "toolkit/form_binder.h"

#include <QComboBox>
#include <QHash>
#include <QLineEdit>
#include <QListWidget>
#include <QSet>
#include <QWidget>

#include "toolkit/icon_toggle.h"

namespace vorlan {

QStringList toStringList(const std::vector<std::string>& items) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(items.size()));
    for (const auto& s : items)
        out << QString::fromStdString(s);
    return out;
}

namespace {

// Every child of `root` by object name, in one pass instead of a search of the whole tree per
// field (a window has hundreds of boxes); a name held twice is looked up as before.
QWidget* byName(QWidget* root, const QHash<QString, QWidget*>& names, const QSet<QString>& twice,
                const QString& name) {
    return twice.contains(name) ? root->findChild<QWidget*>(name) : names.value(name);
}

void indexNames(QWidget* root, QHash<QString, QWidget*>& names, QSet<QString>& twice) {
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (!name.isEmpty() && names.contains(name))
            twice.insert(name);
        else if (!name.isEmpty())
            names.insert(name, w);
    }
}

}  // namespace

FormBinder::FormBinder(QWidget* root, const TableDef& table)
    : table_(table), controls_(table.fields.size(), nullptr), held_(table.fields.size()) {
    attach(root);
}

std::vector<std::size_t> FormBinder::attach(QWidget* root) {
    QHash<QString, QWidget*> names;
    QSet<QString> twice;
    indexNames(root, names, twice);
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < table_.fields.size(); ++i) {
        if (controls_[i] != nullptr)
            continue;
        if (QWidget* w =
                byName(root, names, twice, QString::fromStdString(table_.fields[i].control))) {
            controls_[i] = w;
            found.push_back(i);
        }
    }
    return found;
}

void FormBinder::restore(const std::vector<std::size_t>& fields) {
    for (std::size_t i : fields) {
        if (filled_)
            fillControl(i, held_[i]);
        else
            clearControl(i);
    }
}

std::vector<std::string> FormBinder::missing() const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i] == nullptr)
            out.push_back(table_.fields[i].key);
    }
    return out;
}

void FormBinder::clearControl(std::size_t i) {
    QWidget* w = controls_[i];
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->clear();
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->setCurrentIndex(-1);
        combo->setEditText(QString());
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        list->clearSelection();
    } else if (auto* toggle = IconToggle::owning(w)) {
        toggle->setOn(false);
    }
}

void FormBinder::clear() {
    filled_ = false;
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        held_[i] = FieldValue{};
        if (controls_[i] != nullptr)
            clearControl(i);
    }
}

void FormBinder::fillControl(std::size_t i, const FieldValue& v) {
    QWidget* w = controls_[i];
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(QString::fromStdString(v.text));
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->setCurrentIndex(v.index);
        // A stored value without an item shows as its number.
        if (v.index < 0)
            combo->setEditText(QString::fromStdString(v.text));
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        list->clearSelection();
        for (int k : v.marks) {
            if (auto* item = list->item(k))
                item->setSelected(true);
        }
    } else if (auto* toggle = IconToggle::owning(w)) {
        toggle->setOn(v.on);
    }
}

void FormBinder::fill(const std::vector<FieldValue>& values) {
    filled_ = true;
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        held_[i] = values.at(i);
        if (controls_[i] != nullptr)
            fillControl(i, values[i]);
    }
}

std::vector<FieldValue> FormBinder::collect() const {
    std::vector<FieldValue> values;
    values.reserve(controls_.size());
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        QWidget* w = controls_[i];
        if (w == nullptr) {
            values.push_back(held_[i]);  // not built: what it stands for
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            values.push_back(FieldValue::ofText(edit->text().toStdString()));
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            const QString text = combo->currentText();
            int index = combo->currentIndex();
            // Typed text picks the item it names; otherwise the box has no choice.
            if (index < 0 || combo->itemText(index) != text)
                index = combo->findText(text, Qt::MatchExactly);
            values.push_back(index >= 0 ? FieldValue::ofChoice(index)
                                        : FieldValue::ofUnlisted(text.toStdString()));
        } else if (auto* list = qobject_cast<QListWidget*>(w)) {
            std::vector<int> marks;
            for (int k = 0; k < list->count(); ++k) {
                if (list->item(k)->isSelected())
                    marks.push_back(k);
            }
            values.push_back(FieldValue::ofMarks(std::move(marks)));
        } else if (auto* toggle = IconToggle::owning(w)) {
            values.push_back(FieldValue::ofToggle(toggle->isOn()));
        } else {
            values.emplace_back();
        }
    }
    return values;
}

}  // namespace vorlan
