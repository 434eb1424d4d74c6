#pragma once
// A name code is shown up to its first "00" character, which may stand inside a character
// code: the bytes after the shown text were never seen, yet a save of the name sets them to
// 00. Every front end says so when it happens.

#include <cstdint>
#include <span>
#include <string>

#include "schema/field_value.h"
#include "schema/table_def.h"

namespace vorlan {

// For name-code field `f` of an entry whose bytes go from `before` to `after` (the whole
// entry) while it showed `shown`: the note naming the bytes past the shown text that were
// not 00 and become 00 ("「机体名称」：显示的名称在第 N 字节后被截断，…"), or "" if none did.
std::string clearedNameBytes(const FieldDef& f, const FieldValue& shown,
                             std::span<const std::uint8_t> before,
                             std::span<const std::uint8_t> after);

}  // namespace vorlan
