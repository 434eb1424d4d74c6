#include "access/record_io.h"

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

std::vector<FieldValue> readEntry(ByteStore& entry, const TableDef& table) {
    FieldAccess fa(entry);
    std::vector<FieldValue> values;
    values.reserve(table.fields.size());
    for (const FieldDef& f : table.fields) {
        fa.curpos = f.offset + 1;
        values.push_back(f.encoding->read(fa, f));
    }
    return values;
}

SaveOutcome applyEdits(std::vector<std::uint8_t>& entry, const TableDef& table,
                       const std::vector<FieldValue>& shown,
                       const std::vector<FieldValue>& edited) {
    checkSizes(table, shown, edited);
    SaveOutcome out;
    MemoryStore work(entry);
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
        if (!accepted) {
            return SaveOutcome{false, refusalMessage(f), static_cast<int>(i), {}, 0, 0};
        }
        out.fields.push_back(static_cast<int>(i));
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

std::vector<FieldValue> showEntry(ByteStore& file, const TableDef& table, int index) {
    MemoryStore entry(
        file.readBlock(table.entryOffset(index), static_cast<std::size_t>(table.size)));
    return readEntry(entry, table);
}

SaveOutcome saveEntry(ByteStore& file, const TableDef& table, int index,
                      const std::vector<FieldValue>& shown, const std::vector<FieldValue>& edited) {
    return saveEntries(file, {EntryEdit{&table, index, shown, edited}});
}

SaveOutcome saveEntries(ByteStore& file, const std::vector<EntryEdit>& edits) {
    struct Prepared {
        std::uint64_t base;
        std::vector<std::uint8_t> bytes;
        SaveOutcome outcome;
    };
    std::vector<Prepared> prepared;
    for (const EntryEdit& e : edits) {
        const std::uint64_t base = e.table->entryOffset(e.index);
        auto bytes = file.readBlock(base, static_cast<std::size_t>(e.table->size));
        SaveOutcome out = applyEdits(bytes, *e.table, e.shown, e.edited);
        if (!out.ok) {
            return out;
        }
        prepared.push_back({base, std::move(bytes), std::move(out)});
    }
    SaveOutcome total;
    for (Prepared& p : prepared) {
        if (p.outcome.writeLength > 0) {
            file.write(p.base + p.outcome.writeOffset,
                       std::span<const std::uint8_t>(p.bytes.data() + p.outcome.writeOffset,
                                                     p.outcome.writeLength));
            total.writeOffset = p.base + p.outcome.writeOffset;
            total.writeLength = p.outcome.writeLength;
        }
        total.fields.insert(total.fields.end(), p.outcome.fields.begin(), p.outcome.fields.end());
    }
    return total;
}

std::vector<std::uint8_t> readEntryBytes(ByteStore& file, const TableDef& table, int index) {
    return file.readBlock(table.entryOffset(index), static_cast<std::size_t>(table.size));
}

void writeEntryBytes(ByteStore& file, const TableDef& table, int index,
                     const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() != static_cast<std::size_t>(table.size)) {
        throw std::invalid_argument("entry of the wrong size for table " + table.name);
    }
    file.write(table.entryOffset(index), bytes);
}

}  // namespace vorlan
