#pragma once
// A field's value in words, for step labels and the status line: a text box's text, a
// choice's item, the marked items of a list, a toggle's 开/关.

#include <string>
#include <string_view>

#include "schema/field_value.h"
#include "schema/table_def.h"

namespace vorlan {

class NameSource;

// The item text of a choice or list field, or nothing (no such item, or its list is missing).
std::string itemName(const FieldDef& f, int index, NameSource* names);
std::string valueText(const FieldDef& f, const FieldValue& v, NameSource* names);

// A decimal number stored as another number than typed, as set, import and the editor note
// it: "12346（输入 12345.5，已取整）" for a fraction rounded away, "-56（输入 200）" for a
// signed field's other reading of the same bits. Empty when the stored number is the typed
// one ("0100", "+5" or "12345.0" for 12345) or the text is no number.
std::string storedNumberNote(std::string_view typed, std::string_view stored);

}  // namespace vorlan
