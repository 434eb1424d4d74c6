#include "bulk/diff.h"

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>

#include "schema/record_io.h"
#include "tables/catalog.h"

namespace vorlan {

namespace {

// For every byte of the file up to the end of the last table, the bits some field shows,
// and which table entries a changed byte belongs to.
struct Coverage {
    std::vector<std::uint8_t> bits;
    Coverage() : bits(tableLayout().minimumSize, 0) {
        for (const TableDef* t : allTables()) {
            for (int i = 0; i < t->count; ++i) {
                const std::uint64_t base = t->entryOffset(i);
                for (const FieldDef& f : t->fields) {
                    for (int b = 0; b < f.width; ++b)
                        bits[base + static_cast<std::uint64_t>(f.offset + b)] |=
                            f.mask != 0 ? f.mask : 0xFF;
                }
            }
        }
    }
};

const Coverage& coverage() {
    static const Coverage c;
    return c;
}

// The entry of `table` holding file offset `at`, or -1.
int entryAt(const TableDef& table, std::uint64_t at) {
    if (at < table.offset || at >= table.end())
        return -1;
    const std::uint64_t rel = at - table.offset;
    if (table.perGroup > 0) {
        const std::uint64_t group = rel / table.groupStride;
        const std::uint64_t inGroup = rel % table.groupStride;
        const auto size = static_cast<std::uint64_t>(table.size);
        if (inGroup >= size * static_cast<std::uint64_t>(table.perGroup))
            return -1;
        return static_cast<int>(group * static_cast<std::uint64_t>(table.perGroup) +
                                inGroup / size);
    }
    return static_cast<int>(rel / static_cast<std::uint64_t>(table.size));
}

std::vector<FieldValue> fieldsOf(std::span<const std::uint8_t> bytes, const TableDef& table,
                                 int index) {
    const std::uint64_t base = table.entryOffset(index);
    ByteStore entry(std::vector<std::uint8_t>(
        bytes.begin() + static_cast<std::ptrdiff_t>(base),
        bytes.begin() +
            static_cast<std::ptrdiff_t>(base + static_cast<std::uint64_t>(table.size))));
    return readEntry(entry, table);
}

void addOther(std::vector<ByteRange>& other, std::uint64_t at) {
    if (!other.empty() && other.back().offset + other.back().length == at)
        ++other.back().length;
    else
        other.push_back({at, 1});
}

}  // namespace

ExecutableDiff diffExecutables(std::span<const std::uint8_t> before,
                               std::span<const std::uint8_t> after) {
    if (before.size() != after.size())
        throw std::invalid_argument("executables of different lengths");
    const Coverage& cover = coverage();
    ExecutableDiff diff;
    std::map<const TableDef*, std::set<int>> touched;
    std::vector<std::uint64_t> shownChanges;  // changed bytes with bits some field shows
    std::vector<std::uint64_t> other;
    for (std::uint64_t at = 0; at < before.size(); ++at) {
        if (before[at] == after[at])
            continue;
        const std::uint8_t changed = before[at] ^ after[at];
        const std::uint8_t shown = at < cover.bits.size() ? cover.bits[at] : 0;
        if ((changed & ~shown) != 0)
            other.push_back(at);
        if ((changed & shown) == 0)
            continue;
        shownChanges.push_back(at);
        for (const TableDef* t : allTables()) {
            if (const int entry = entryAt(*t, at); entry >= 0)
                touched[t].insert(entry);
        }
    }
    // Bytes whose every field shows the same value (bytes of a name after its end, say)
    // are not shown after all.
    std::set<std::uint64_t> explained;
    for (const TableDef* t : allTables()) {
        const auto found = touched.find(t);
        if (found == touched.end())
            continue;
        for (int entry : found->second) {
            const auto was = fieldsOf(before, *t, entry);
            const auto now = fieldsOf(after, *t, entry);
            const std::uint64_t base = t->entryOffset(entry);
            for (std::size_t f = 0; f < t->fields.size(); ++f) {
                if (was[f] == now[f])
                    continue;
                diff.changes.push_back({t, entry, static_cast<int>(f), was[f], now[f]});
                const FieldDef& field = t->fields[f];
                for (int b = 0; b < field.width; ++b)
                    explained.insert(base + static_cast<std::uint64_t>(field.offset + b));
            }
        }
    }
    for (std::uint64_t at : shownChanges) {
        if (!explained.contains(at))
            other.push_back(at);
    }
    std::sort(other.begin(), other.end());
    other.erase(std::unique(other.begin(), other.end()), other.end());
    for (std::uint64_t at : other)
        addOther(diff.other, at);
    return diff;
}

}  // namespace vorlan
