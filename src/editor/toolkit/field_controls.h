#pragma once
// Controls made from a table's definition by field key: each takes the control name the
// definition gives as its object name (the binder finds it by that name) and the kind of
// control its encoding wants, so a page names only keys and where they stand. An unknown
// key is a programming error: std::logic_error naming the table and the key.

#include <QString>
#include <string>
#include <vector>

#include "schema/table_def.h"

class QGridLayout;
class QWidget;

namespace vorlan {

// The field of `table` whose key is `key`.
const FieldDef& fieldByKey(const TableDef& table, const std::string& key);
// The read-only box that shows the decoded text of name field `key`.
const DecodedName& decodedNameOf(const TableDef& table, const std::string& key);
// The field's caption as the page shows it.
QString fieldCaption(const TableDef& table, const std::string& key);

// The field's control: a choice box with the encoding's items for a choice (empty for a
// name list, filled when the lists are loaded), a multi-select list of its items for a bit
// set, else a text box. `width` 0 takes the control's usual width.
QWidget* fieldControl(const TableDef& table, const std::string& key, int width = 0);

// The text box showing a name field's characters and the note under it, named as the
// table's decoded name for that field.
QWidget* decodedNameBox(const TableDef& table, const std::string& key, int width);
QWidget* decodedNameNote(const TableDef& table, const std::string& key);

// A field standing in a row, with a width other than its control's usual one.
struct FieldCell {
    FieldCell(const char* k, int w = 0) : key(k), width(w) {}  // NOLINT: a bare key reads best
    FieldCell(std::string k, int w = 0) : key(std::move(k)), width(w) {}
    std::string key;
    int width = 0;
};

// Adds "caption  control" pairs of the fields to a grid row, as addRow does.
void fieldRow(QGridLayout* grid, int row, const TableDef& table,
              const std::vector<FieldCell>& cells);
// Adds one field whose control spans `span` grid columns, as addWideRow does.
void fieldWideRow(QGridLayout* grid, int row, const TableDef& table, const FieldCell& cell,
                  int span);

}  // namespace vorlan
