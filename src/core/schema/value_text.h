#pragma once
// A field's value in words, for step labels and the status line: a text box's text, a
// choice's item, the marked items of a list, a toggle's 开/关.

#include <string>

#include "schema/field_value.h"
#include "schema/table_def.h"

namespace vorlan {

class NameSource;

// The item text of a choice or list field, or nothing (no such item, or its list is missing).
std::string itemName(const FieldDef& f, int index, NameSource* names);
std::string valueText(const FieldDef& f, const FieldValue& v, NameSource* names);

}  // namespace vorlan
