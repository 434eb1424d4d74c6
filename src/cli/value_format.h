#pragma once
// A field's shown value as `get` prints it: one line of text, or one JSON object.

#include <nlohmann/json.hpp>
#include <string>

#include "bulk/field_text.h"
#include "list_cache.h"
#include "schema/field_value.h"
#include "schema/table_def.h"

namespace vorlan::cli {

// The value as the command line writes it (what `set` takes back), followed by the item
// text of a choice or of marked items, or the decoded text of a name code.
std::string describeValue(const FieldDef& f, const FieldValue& v, ListCache& lists);

// {"key","control","caption","value"} plus "raw" for a choice without an item and
// "decoded" for a name code.
nlohmann::ordered_json jsonField(const FieldDef& f, const FieldValue& v, ListCache& lists);

}  // namespace vorlan::cli
