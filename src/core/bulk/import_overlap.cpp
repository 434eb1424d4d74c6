#include "bulk/import_overlap.h"

#include <algorithm>
#include <set>
#include <tuple>

#include "bulk/table_io.h"

namespace vorlan {

namespace {

constexpr std::size_t kMaxLines = 20;

// A byte a field change of one file writes, and which of its bits.
struct Writer {
    std::uint64_t byte;
    std::size_t file;
    std::size_t change;
    std::uint8_t bits;
};

// "weapon-upgrade 0 attack1-1（增加攻击力 类型1 第1段）"
std::string fieldName(const FieldChange& c) {
    const TableDef& t = *c.table;
    const FieldDef& f = t.fields[static_cast<std::size_t>(c.field)];
    const std::string index = bySlot(t) ? std::to_string(c.index / t.perGroup) + ":" +
                                              std::to_string(c.index % t.perGroup)
                                        : std::to_string(c.index);
    return t.name + " " + index + " " + f.key + "（" + f.fullCaption() + "）";
}

}  // namespace

std::vector<std::string> fieldsSetTwice(const std::vector<PlannedFile>& files) {
    // Every byte each change writes, sorted: writers of one byte stand together.
    std::vector<Writer> writes;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::vector<FieldChange>& changes = files[i].plan->changes;
        for (std::size_t k = 0; k < changes.size(); ++k) {
            const FieldChange& c = changes[k];
            const FieldDef& f = c.table->fields[static_cast<std::size_t>(c.field)];
            const std::uint64_t at =
                c.table->entryOffset(c.index) + static_cast<unsigned>(f.offset);
            const std::uint8_t bits = f.mask != 0 ? f.mask : 0xFF;
            for (int b = 0; b < f.width; ++b)
                writes.push_back({at + static_cast<unsigned>(b), i, k, bits});
        }
    }
    std::sort(writes.begin(), writes.end(), [](const Writer& a, const Writer& b) {
        return std::tie(a.byte, a.file, a.change) < std::tie(b.byte, b.file, b.change);
    });
    std::set<std::pair<const FieldChange*, const FieldChange*>> named;
    std::vector<std::string> out;
    for (std::size_t first = 0; first < writes.size();) {
        std::size_t end = first;
        while (end < writes.size() && writes[end].byte == writes[first].byte)
            ++end;
        for (std::size_t a = first; a < end; ++a) {
            for (std::size_t b = a + 1; b < end; ++b) {
                const Writer& x = writes[a];
                const Writer& y = writes[b];
                if ((x.bits & y.bits) == 0)
                    continue;
                const FieldChange& cx = files[x.file].plan->changes[x.change];
                const FieldChange& cy = files[y.file].plan->changes[y.change];
                // A field of several bytes is named once.
                if (!named.insert({&cx, &cy}).second || out.size() >= kMaxLines)
                    continue;
                out.push_back(files[x.file].source + " 的 " + fieldName(cx) + " 与 " +
                              files[y.file].source + " 的 " + fieldName(cy) +
                              " 是同一处数据，不能在一次导入中设置两次");
            }
        }
        first = end;
    }
    return out;
}

}  // namespace vorlan
