#include "bulk/table_export.h"

#include <nlohmann/json.hpp>

#include "bulk/csv.h"
#include "bulk/field_text.h"

namespace vorlan {

namespace {

CsvRow header(const TableDef& table) {
    CsvRow row = bySlot(table) ? CsvRow{"unit", "slot"} : CsvRow{"index"};
    row.push_back("label");
    for (const FieldDef& f : table.fields) {
        row.push_back(f.key);
        if (isNameCode(f))
            row.push_back(textColumn(f));
    }
    return row;
}

CsvRow csvRow(const TableDef& table, int index, const std::vector<FieldValue>& values,
              NameSource* names) {
    CsvRow row;
    if (bySlot(table)) {
        row.push_back(std::to_string(index / table.perGroup));
        row.push_back(std::to_string(index % table.perGroup));
    } else {
        row.push_back(std::to_string(index));
    }
    // Labels and names come from lists and the executable: any of them may look like a formula.
    row.push_back(markedCell(table.label(index, names)));
    for (std::size_t i = 0; i < table.fields.size(); ++i) {
        const FieldDef& f = table.fields[i];
        row.push_back(markedCell(fieldText(f, values[i], HexStyle::Prefixed)));
        if (isNameCode(f))
            row.push_back(markedCell(decodedName(values[i], names)));
    }
    return row;
}

nlohmann::ordered_json jsonEntry(const TableDef& table, int index,
                                 const std::vector<FieldValue>& values, NameSource* names) {
    nlohmann::ordered_json e;
    if (bySlot(table)) {
        e["unit"] = index / table.perGroup;
        e["slot"] = index % table.perGroup;
    } else {
        e["index"] = index;
    }
    e["label"] = table.label(index, names);
    nlohmann::ordered_json v = nlohmann::ordered_json::object();
    for (std::size_t i = 0; i < table.fields.size(); ++i) {
        const FieldDef& f = table.fields[i];
        v[f.key] = fieldJson(f, values[i]);
        if (isNameCode(f))
            v[textColumn(f)] = decodedName(values[i], names);
    }
    e["values"] = std::move(v);
    return e;
}

}  // namespace

std::string exportTable(const TableDef& table, std::span<const std::uint8_t> exe, NameSource* names,
                        TableFormat format, const std::vector<int>* only) {
    std::vector<int> all;
    if (only == nullptr) {
        all.resize(static_cast<std::size_t>(table.count));
        for (int i = 0; i < table.count; ++i)
            all[static_cast<std::size_t>(i)] = i;
        only = &all;
    }
    if (format == TableFormat::Csv) {
        std::string out = "\xEF\xBB\xBF" + csvLine(header(table));
        for (int index : *only)
            out += csvLine(csvRow(table, index, entryValues(table, exe, index), names));
        return out;
    }
    nlohmann::ordered_json entries = nlohmann::ordered_json::array();
    for (int index : *only)
        entries.push_back(jsonEntry(table, index, entryValues(table, exe, index), names));
    const nlohmann::ordered_json doc = {{"table", table.name}, {"entries", std::move(entries)}};
    // Invalid bytes in a name list must not stop an export: they are replaced.
    return doc.dump(1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

std::map<const TableDef*, std::vector<int>> changedEntries(const ExecutableDiff& diff) {
    std::map<const TableDef*, std::vector<int>> out;
    for (const FieldChange& c : diff.changes) {
        auto& entries = out[c.table];
        if (entries.empty() || entries.back() != c.index)
            entries.push_back(c.index);
    }
    return out;
}

}  // namespace vorlan
