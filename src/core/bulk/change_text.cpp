#include "bulk/change_text.h"

#include "bulk/field_text.h"
#include "schema/value_text.h"
#include "text/char_table.h"

namespace vorlan {

namespace {

std::string shown(const FieldDef& f, const FieldValue& v, NameSource* names) {
    std::string text = valueText(f, v, names);
    const CharTable* chars = names != nullptr ? names->chars() : nullptr;
    if (isNameCode(f) && chars != nullptr)
        text += "「" + chars->decode(v.text) + "」";
    return text;
}

}  // namespace

std::string entryIndexText(const TableDef& table, int index) {
    if (table.perGroup > 0)
        return std::to_string(index / table.perGroup) + ":" +
               std::to_string(index % table.perGroup);
    return std::to_string(index);
}

ChangeText describeChange(const FieldChange& change, NameSource* names) {
    const TableDef& t = *change.table;
    const FieldDef& f = t.fields[static_cast<std::size_t>(change.field)];
    return {t.name,          entryIndexText(t, change.index), t.label(change.index, names), f.key,
            f.fullCaption(), shown(f, change.before, names),  shown(f, change.after, names)};
}

}  // namespace vorlan
