#pragma once
// The VALUE of `set FIELD=VALUE`, read as the control would hold it: a text box's text,
// a choice's item index or item text, a multi-select list's marks "3,15", a toggle's 0/1.

#include <string>

#include "list_cache.h"
#include "schema/field_value.h"
#include "schema/table_def.h"

namespace vorlan::cli {

// Where the command line shows a choice's items, after what the choice accepts.
inline constexpr const char* kItemsHint = "（用 fields 命令查看各项）";

// The value `text` stands for in field `f`, whose shown value is `shown`. For a choice,
// "-1" keeps a stored value that has no item. Throws Refusal naming the field and what it
// accepts when the text cannot stand for a value. Range checks are left to the engine.
FieldValue parseValue(const FieldDef& f, const std::string& text, const FieldValue& shown,
                      ListCache& lists);

}  // namespace vorlan::cli
