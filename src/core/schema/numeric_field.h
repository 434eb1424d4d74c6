#pragma once
// Shared steps of the numeric encodings: a field's unsigned value of 1, 2 or 4 bytes, or
// the bits of one byte that a sub-byte field owns (its mask).

#include <cstdint>
#include <string>

#include "access/field_access.h"
#include "schema/table_def.h"

namespace vorlan {

// The field's unsigned value, read in value order; masked and shifted down for sub-byte fields.
std::uint32_t readNumber(FieldAccess& fa, const FieldDef& f);
// The largest value the field can hold.
std::uint32_t maxNumber(const FieldDef& f);
// Writes v (at most maxNumber) into the field; a sub-byte field keeps the bits it does not own.
void writeNumber(FieldAccess& fa, const FieldDef& f, std::uint32_t v);

std::string toDecimal(std::int64_t v);

}  // namespace vorlan
