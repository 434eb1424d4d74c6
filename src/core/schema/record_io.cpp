#include "schema/record_io.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "access/field_access.h"

namespace vorlan {

namespace {

void checkSizes(const TableDef& table, const std::vector<FieldValue>& shown,
                const std::vector<FieldValue>& edited) {
    if (shown.size() != table.fields.size() || edited.size() != table.fields.size()) {
        throw std::invalid_argument("values do not match the fields of table " + table.name);
    }
}

}  // namespace

std::string refusalMessage(const FieldDef& f) {
    return "「" + f.fullCaption() + "」" + f.encoding->accepted(f) + "。";
}

std::vector<FieldValue> readEntry(ByteStore& store, const TableDef& table, std::uint64_t at) {
    std::vector<FieldValue> values;
    values.reserve(table.fields.size());
    for (const FieldDef& f : table.fields)
        values.push_back(readField(store, f, at));
    return values;
}

FieldValue readField(ByteStore& store, const FieldDef& f, std::uint64_t at) {
    FieldAccess fa(store);
    fa.curpos = static_cast<std::int32_t>(at) + f.offset + 1;
    return f.encoding->read(fa, f);
}

SaveOutcome applyEdits(std::vector<std::uint8_t>& entry, const TableDef& table,
                       const std::vector<FieldValue>& shown,
                       const std::vector<FieldValue>& edited) {
    checkSizes(table, shown, edited);
    SaveOutcome out;
    ByteStore work(entry);
    FieldAccess fa(work);
    for (std::size_t i = 0; i < table.fields.size(); ++i) {
        if (edited[i] == shown[i])
            continue;
        const FieldDef& f = table.fields[i];
        fa.curpos = f.offset + 1;
        bool accepted = false;
        try {
            accepted = f.encoding->write(fa, f, edited[i]);
        } catch (const RangeError&) {
            accepted = false;
        }
        // Every bad field is found, so that one answer names them all.
        if (!accepted)
            out.refusals.push_back({-1, static_cast<int>(i), refusalMessage(f)});
        else
            out.fields.push_back(static_cast<int>(i));
    }
    if (!out.ok()) {
        out.fields.clear();
        return out;
    }

    const auto& after = work.bytes();
    std::size_t first = 0;
    while (first < after.size() && after[first] == entry[first])
        ++first;
    if (first < after.size()) {
        std::size_t last = after.size() - 1;
        while (after[last] == entry[last])
            --last;
        out.writeOffset = first;
        out.writeLength = last - first + 1;
    }
    entry = after;
    return out;
}

}  // namespace vorlan
