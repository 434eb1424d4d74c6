#pragma once
// A name code is shown up to its first "00" character, which may stand inside a character
// code: the bytes after the shown text were never seen, yet a save of the name sets them to
// 00. Every front end says so when it happens.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "schema/field_value.h"
#include "schema/table_def.h"

namespace vorlan {

// For name-code field `f` of an entry whose bytes go from `before` to `after` (the whole
// entry) while it showed `shown`: the note naming the bytes past the shown text that were
// not 00 and become 00 ("「机体名称」：显示的名称在第 N 字节后被截断，…"), or "" if none did.
std::string clearedNameBytes(const FieldDef& f, const FieldValue& shown,
                             std::span<const std::uint8_t> before,
                             std::span<const std::uint8_t> after);

// What storing the code text `given` in name-code field `f` leaves out or adds, as a note
// ("「机体名称」只有 34 字节（68 位），输入的第 69 位起的 …"): digits beyond the field are
// not stored, an odd count of digits is completed with a 0. Empty when neither happens.
std::string nameCodeNote(const FieldDef& f, std::string_view given);

// The code text that a write of `typed` into field `f` stores, as the page then shows it:
// cut to the field, an odd count of digits completed with "0", shown up to its end mark.
// `typed` itself when the field would refuse it.
std::string storedNameCode(const FieldDef& f, const std::string& typed);

}  // namespace vorlan
