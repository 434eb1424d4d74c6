#include "toolkit/form_binder.h"

#include <QComboBox>
#include <QHash>
#include <QLineEdit>
#include <QListWidget>
#include <QSet>
#include <QWidget>
#include <stdexcept>

#include "toolkit/icon_toggle.h"

namespace vorlan {

QStringList toStringList(const std::vector<std::string>& items) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(items.size()));
    for (const auto& s : items)
        out << QString::fromStdString(s);
    return out;
}

FormBinder::FormBinder(QWidget* root, const TableDef& table) : table_(table) {
    // One pass over the controls instead of a search of the whole tree per field (a window
    // has hundreds of boxes); a name held twice is looked up as before.
    QHash<QString, QWidget*> byName;
    QSet<QString> twice;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (!name.isEmpty() && byName.contains(name))
            twice.insert(name);
        else if (!name.isEmpty())
            byName.insert(name, w);
    }
    for (const FieldDef& f : table.fields) {
        const QString name = QString::fromStdString(f.control);
        QWidget* w = twice.contains(name) ? root->findChild<QWidget*>(name) : byName.value(name);
        if (w == nullptr) {
            throw std::logic_error("no control named " + f.control + " for table " + table.name);
        }
        controls_.push_back(w);
    }
}

void FormBinder::clear() {
    for (QWidget* w : controls_) {
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
}

void FormBinder::fill(const std::vector<FieldValue>& values) {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const FieldValue& v = values.at(i);
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
}

std::vector<FieldValue> FormBinder::collect() const {
    std::vector<FieldValue> values;
    values.reserve(controls_.size());
    for (QWidget* w : controls_) {
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
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
