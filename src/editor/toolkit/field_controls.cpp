#include "toolkit/field_controls.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <algorithm>
#include <stdexcept>

#include "toolkit/form_binder.h"
#include "toolkit/widgets.h"

namespace vorlan {

namespace {

QString nameOf(const std::string& control) {
    return QString::fromStdString(control);
}

}  // namespace

const FieldDef& fieldByKey(const TableDef& table, const std::string& key) {
    // By key alone: TableDef::field also takes control names, which pages no longer use.
    const auto at = std::find_if(table.fields.begin(), table.fields.end(),
                                 [&](const FieldDef& f) { return f.key == key; });
    if (at == table.fields.end())
        throw std::logic_error("table " + table.name + " has no field " + key);
    return *at;
}

const DecodedName& decodedNameOf(const TableDef& table, const std::string& key) {
    fieldByKey(table, key);
    const auto at = std::find_if(table.decoded.begin(), table.decoded.end(),
                                 [&](const DecodedName& d) { return d.field == key; });
    if (at == table.decoded.end())
        throw std::logic_error("table " + table.name + " shows no decoded name for field " + key);
    return *at;
}

QString fieldCaption(const TableDef& table, const std::string& key) {
    return QString::fromStdString(fieldByKey(table, key).caption);
}

QWidget* fieldControl(const TableDef& table, const std::string& key, int width) {
    const FieldDef& f = fieldByKey(table, key);
    const QString name = nameOf(f.control);
    switch (f.encoding->kind()) {
        case ValueKind::Choice:
            return choiceBox(name, f.encoding->items(), width > 0 ? width : 110);
        case ValueKind::Marks: {
            auto* list = listBox(name, true);
            list->addItems(toStringList(f.encoding->items()));
            return list;
        }
        case ValueKind::Toggle:
            // Its pictures belong to the page that shows it.
            throw std::logic_error("field " + key + " of table " + table.name +
                                   " is an icon toggle, made by its page");
        case ValueKind::Text:
            break;
    }
    return textBox(name, width > 0 ? width : 70);
}

QWidget* decodedNameBox(const TableDef& table, const std::string& key, int width) {
    return nameTextBox(nameOf(decodedNameOf(table, key).control), width);
}

QWidget* decodedNameNote(const TableDef& table, const std::string& key) {
    return nameNote(nameOf(decodedNameOf(table, key).control));
}

void fieldRow(QGridLayout* grid, int row, const TableDef& table,
              const std::vector<FieldCell>& cells) {
    // Every key is checked before any control is made, so a wrong one leaves nothing behind.
    std::vector<std::pair<QString, QWidget*>> pairs;
    for (const FieldCell& c : cells)
        pairs.emplace_back(fieldCaption(table, c.key), nullptr);
    for (std::size_t i = 0; i < cells.size(); ++i)
        pairs[i].second = fieldControl(table, cells[i].key, cells[i].width);
    addRow(grid, row, pairs);
}

void fieldWideRow(QGridLayout* grid, int row, const TableDef& table, const FieldCell& cell,
                  int span) {
    addWideRow(grid, row, fieldCaption(table, cell.key), fieldControl(table, cell.key, cell.width),
               span);
}

}  // namespace vorlan
