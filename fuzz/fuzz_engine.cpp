// Fuzz target: the field engine over every table: a random entry, shown, then random edits
// (texts, choices, marks, toggles) saved over it. A save either refuses or changes only the
// bytes of the fields it changed, and saving unchanged values changes nothing.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "schema/record_io.h"
#include "tables/catalog.h"

namespace {

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    std::uint8_t byte() { return at < size ? data[at++] : 0; }
    std::string text() {
        std::string t;
        for (std::size_t n = byte() % 24; n > 0; --n)
            t += static_cast<char>(byte());
        return t;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vorlan;
    Input in{data, size};
    const auto& tables = allTables();
    const TableDef& t = *tables[in.byte() % tables.size()];
    std::vector<std::uint8_t> entry(static_cast<std::size_t>(t.size));
    for (auto& b : entry)
        b = in.byte();
    ByteStore store(entry);
    const auto shown = readEntry(store, t);
    auto unchanged = entry;
    if (!applyEdits(unchanged, t, shown, shown).ok() || unchanged != entry)
        std::abort();
    auto edited = shown;
    for (std::size_t n = in.byte() % 6; n > 0; --n) {
        const std::size_t f = in.byte() % t.fields.size();
        switch (in.byte() % 4) {
            case 0:
                edited[f] = FieldValue::ofText(in.text());
                break;
            case 1:
                edited[f] = FieldValue::ofChoice(static_cast<int>(in.byte()) - 8);
                break;
            case 2:
                edited[f] = FieldValue::ofMarks({in.byte() % 16, in.byte() % 16});
                break;
            default:
                edited[f] = FieldValue::ofToggle(in.byte() % 2 == 1);
                break;
        }
    }
    auto after = entry;
    const SaveOutcome out = applyEdits(after, t, shown, edited);
    if (!out.ok()) {
        if (after != entry)
            std::abort();  // a refusal leaves the entry as it was
        return 0;
    }
    std::vector<bool> owned(entry.size(), false);
    for (int i : out.fields) {
        const FieldDef& f = t.fields[static_cast<std::size_t>(i)];
        for (int b = f.offset; b < f.offset + f.width; ++b)
            owned[static_cast<std::size_t>(b)] = true;
    }
    for (std::size_t b = 0; b < entry.size(); ++b) {
        if (after[b] != entry[b] && !owned[b])
            std::abort();
    }
    return 0;
}
