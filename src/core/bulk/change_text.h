#pragma once
// A field change in words, as diff, import and patch previews list it: the table, the
// entry's label, the field's key and caption, and both values as the editor shows them
// (a choice's item, a name's decoded text after its code).

#include <string>

#include "bulk/diff.h"
#include "schema/name_source.h"

namespace vorlan {

struct ChangeText {
    std::string table;  // command-line name
    std::string index;  // "5", or "5:2" for a weapon slot
    std::string label;  // "机体005"
    std::string key;
    std::string caption;
    std::string before;
    std::string after;
};

ChangeText describeChange(const FieldChange& change, NameSource* names);

// The entry index as the command line writes it: "5", or "5:2" for a nested table.
std::string entryIndexText(const TableDef& table, int index);

}  // namespace vorlan
