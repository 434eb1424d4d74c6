#pragma once
// Show, save, copy and paste of any table's entries, and edits of named fields over a
// whole table, for every front end. Everything it writes goes through the document.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "document/document.h"
#include "schema/field_value.h"
#include "schema/table_def.h"

namespace vorlan {

class NameSource;

struct EntryView {
    std::vector<FieldValue> values;
    std::uint32_t offset = 0;  // file offset of the entry
    std::string label;
    // Decoded-text boxes and their texts, e.g. {"Text34", "…"}; empty without a character table.
    std::vector<std::pair<std::string, std::string>> decoded;
};

// One entry's edit: the values it showed and the values the user left in the controls.
struct EntryEdit {
    const TableDef* table = nullptr;
    int index = 0;
    std::vector<FieldValue> shown;
    std::vector<FieldValue> edited;
};

class EntryEditor {
public:
    // `names` may be null: labels then use numbers, and nothing is decoded.
    EntryEditor(Document& document, NameSource* names) : doc_(document), names_(names) {}

    // Throws DocumentError when the file cannot be read.
    EntryView show(const TableDef& table, int index);
    // Checks every changed field of every edit against the bytes read under the lock and
    // writes them in one change, or refuses naming every bad field (result.refusals, in the
    // edits' order). Fields whose value did not change are not written; the step names only
    // the entries whose bytes change. `label` names the step instead of the list of every value
    // written (an import of hundreds of entries).
    WriteResult save(const std::vector<EntryEdit>& edits, const std::string& label = {});

    // The names the game stores for entries first … first + count - 1, decoded (an entry with
    // several name codes gives them joined by spaces), read in one go. Empty without a
    // character table or for a table without name codes. Throws DocumentError.
    std::vector<std::string> decodedNames(const TableDef& table, int first, int count);

    // Name codes whose edit would set to 00 stored bytes that are not 00 after the shown
    // text (a name shown cut at a "00" inside a character code): one text per such field,
    // naming the bytes. Empty when there are none, or when a value would be refused anyway.
    // Throws DocumentError.
    std::vector<std::string> clearedNameBytes(const std::vector<EntryEdit>& edits);

    // What saving `edits` stores of a name code other than as typed (cut to its field, an
    // odd count of digits completed with 0): one note per such field, after the entry's
    // label when there are several edits. Reads nothing.
    std::vector<std::string> nameNotes(const std::vector<EntryEdit>& edits) const;

    // The whole entry as bytes. Throws DocumentError.
    std::vector<std::uint8_t> copy(const TableDef& table, int index);
    // Writes copied bytes over a whole entry, bytes no field shows included.
    WriteResult paste(const TableDef& table, int index, const std::vector<std::uint8_t>& bytes,
                      const std::string& sourceLabel);
    // Gives the named fields these values in every entry of the table (a whole-table patch).
    WriteResult setOnAll(const TableDef& table,
                         const std::vector<std::pair<std::string, FieldValue>>& values,
                         const std::string& label);

    std::string label(const TableDef& table, int index) const { return table.label(index, names_); }

private:
    Document& doc_;
    NameSource* names_;
};

}  // namespace vorlan
