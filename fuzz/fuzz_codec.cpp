// Fuzz target: a character table built from the input's lines, then decoding and lookup of
// texts cut from the same input.

#include <cstddef>
#include <cstdint>
#include <string>

#include "lists/list_entries.h"
#include "text/char_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t half = size / 2;
    vorlan::CharTable table(vorlan::parseEntries(input.substr(0, half), 7302));
    const std::string rest = input.substr(half);
    table.decode(rest);
    table.lookup(rest.substr(0, vorlan::CharTable::kMaxText));
    table.codeOf(rest.substr(0, 4));
    return 0;
}
