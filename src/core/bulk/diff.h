#pragma once
// What differs between two executables of one length, by table, entry and field; and the
// bytes that differ where no field lies (these are never written by the editor).

#include <cstdint>
#include <span>
#include <vector>

#include "schema/field_value.h"
#include "schema/table_def.h"

namespace vorlan {

struct FieldChange {
    const TableDef* table = nullptr;
    int index = 0;  // entry
    int field = 0;  // index into table->fields
    FieldValue before;
    FieldValue after;
};

struct ByteRange {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

struct ExecutableDiff {
    std::vector<FieldChange> changes;  // in table order (the catalog's), then entry, then field
    std::vector<ByteRange> other;      // bytes (or bits) no field shows, in file order
};

// `before` and `after` must be of one length. Bits of a byte shared by several one-bit or
// nibble fields that no field owns count as "other" too.
ExecutableDiff diffExecutables(std::span<const std::uint8_t> before,
                               std::span<const std::uint8_t> after);

}  // namespace vorlan
