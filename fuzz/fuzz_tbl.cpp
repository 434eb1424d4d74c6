// Fuzz target: the .tbl reader. What it accepts is a list of four upper-case hex digits and
// one character each, which writes back to text that reads to the same list.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "text/char_table.h"
#include "text/tbl.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> entries;
    try {
        entries = vorlan::parseTbl(text);
    } catch (const vorlan::TblError&) {
        return 0;
    }
    if (entries.empty() || entries.size() > vorlan::kMaxTblEntries)
        std::abort();
    for (const std::string& e : entries) {
        for (std::size_t i = 0; i < 4; ++i) {
            if (!((e[i] >= '0' && e[i] <= '9') || (e[i] >= 'A' && e[i] <= 'F')))
                std::abort();
        }
    }
    if (vorlan::parseTbl(vorlan::formatTbl(entries)) != entries)
        std::abort();
    const vorlan::CharTable table(entries);
    table.lookup(table.decode(entries.front().substr(0, 4)));
    return 0;
}
