#include "access/record_io.h"

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
    if (edits.empty()) {
        return {};
    }
    // One block covering every entry: edited in memory, then written with one write, so a
    // failed write can never leave one entry written and another not.
    std::uint64_t first = UINT64_MAX;
    std::uint64_t last = 0;
    for (const EntryEdit& e : edits) {
        const std::uint64_t base = e.table->entryOffset(e.index);
        first = std::min(first, base);
        last = std::max(last, base + static_cast<std::uint64_t>(e.table->size));
    }
    const auto original = file.readBlock(first, static_cast<std::size_t>(last - first));
    auto block = original;
    SaveOutcome total;
    for (const EntryEdit& e : edits) {
        const auto at = static_cast<std::ptrdiff_t>(e.table->entryOffset(e.index) - first);
        std::vector<std::uint8_t> entry(block.begin() + at, block.begin() + at + e.table->size);
        SaveOutcome out = applyEdits(entry, *e.table, e.shown, e.edited);
        if (!out.ok) {
            return out;
        }
        std::copy(entry.begin(), entry.end(), block.begin() + at);
        total.fields.insert(total.fields.end(), out.fields.begin(), out.fields.end());
    }
    std::size_t from = 0;
    while (from < block.size() && block[from] == original[from]) {
        ++from;
    }
    if (from < block.size()) {
        std::size_t to = block.size() - 1;
        while (block[to] == original[to]) {
            --to;
        }
        total.writeOffset = first + from;
        total.writeLength = to - from + 1;
        file.write(total.writeOffset,
                   std::span<const std::uint8_t>(block.data() + from, total.writeLength));
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
