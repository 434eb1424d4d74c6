#pragma once
// A field's value as text and as JSON, both ways, for every path that moves values in and
// out of the program as text: `get`/`set`, export, import and diff. The text is what `set`
// takes: a text box's text, a choice's item index (its item text is accepted too), a
// multi-select list's marks "3,15", a toggle's 0 or 1.

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "schema/field_value.h"
#include "schema/name_source.h"
#include "schema/table_def.h"

namespace vorlan {

// Name codes, hex numbers and hex byte runs: shown as hexadecimal digits.
bool isHexText(const FieldDef& f);
bool isNameCode(const FieldDef& f);
// Numbers shown in decimal (signed or not): JSON numbers both ways.
bool isDecimalNumber(const FieldDef& f);

// Spreadsheet programs turn "09" into 9 and "0E12" into 0: hex texts written for them carry
// a "0x" prefix, which import accepts or not.
enum class HexStyle { Bare, Prefixed };

// The value as text. A choice whose stored value has no item gives that stored number.
std::string fieldText(const FieldDef& f, const FieldValue& v, HexStyle hex = HexStyle::Bare);

// The value as JSON gives it: a number for decimal numbers, a string for hex and name codes,
// an item index for choices (-1 when the stored value has no item), an array of indexes,
// or 0/1. Import takes a decimal number as a number or as a numeric string.
nlohmann::ordered_json fieldJson(const FieldDef& f, const FieldValue& v);

// What parsing a text or JSON value gave: the value, or why it cannot be one.
struct ParsedValue {
    std::optional<FieldValue> value;
    std::string error;  // names what the field accepts
};

// The value `text` stands for in `f`, whose shown value is `shown` (a stored value without
// an item stays when the text is -1 or that stored number). Range checks are the engine's.
ParsedValue parseFieldText(const FieldDef& f, std::string_view text, const FieldValue& shown,
                           NameSource* names);
ParsedValue parseFieldJson(const FieldDef& f, const nlohmann::json& v, const FieldValue& shown,
                           NameSource* names);

// What a choice accepts, for messages.
std::string choiceHint(const FieldDef& f);

}  // namespace vorlan
