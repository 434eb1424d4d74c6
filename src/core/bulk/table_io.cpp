#include "bulk/table_io.h"

#include "schema/record_io.h"
#include "text/char_table.h"

namespace vorlan {

TableFormat formatOf(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '{' ? TableFormat::Json
                                                                 : TableFormat::Csv;
}

std::string textColumn(const FieldDef& f) {
    return f.key + ".text";
}

bool bySlot(const TableDef& table) {
    return table.perGroup > 0;
}

std::vector<FieldValue> entryValues(const TableDef& table, std::span<const std::uint8_t> exe,
                                    int index) {
    const std::uint64_t base = table.entryOffset(index);
    const auto from = exe.begin() + static_cast<std::ptrdiff_t>(base);
    ByteStore entry(std::vector<std::uint8_t>(from, from + table.size));
    return readEntry(entry, table);
}

std::string decodedName(const FieldValue& v, NameSource* names) {
    const CharTable* chars = names != nullptr ? names->chars() : nullptr;
    return chars != nullptr ? chars->decode(v.text) : std::string();
}

}  // namespace vorlan
