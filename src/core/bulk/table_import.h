#pragma once
// A whole-table file read back: CSV or JSON as export writes it, or as a spreadsheet program
// saves it (columns in any order, any subset; the index columns required; "label" ignored).
// Every cell is checked before anything is written; the plan holds only the fields whose
// stored value changes, as entry edits for one write through the document.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bulk/diff.h"
#include "document/entry_editor.h"
#include "schema/name_source.h"
#include "schema/table_def.h"

namespace vorlan {

struct ImportPlan {
    std::vector<EntryEdit> edits;      // one per entry with a change
    std::vector<FieldChange> changes;  // every field that changes, for the preview
    // What storing a cell cut, completed or rounded ("第 R 行 COLUMN：…"), as `set` notes it.
    std::vector<std::string> notes;
    std::vector<std::string> problems;  // "第 R 行 COLUMN：VALUE — …", the first 20
    std::string error;                  // the file cannot be read as this table at all

    bool ok() const { return error.empty() && problems.empty(); }
    std::size_t entries() const { return edits.size(); }
    // The write's name in messages and the undo history: "导入 unit.csv（N 个条目的 M 个字段）".
    std::string label(std::string_view file) const;
};

// Largest import file: far beyond any table's export, small enough to read whole.
inline constexpr std::uint64_t kMaxImportFile = 16u << 20;

// `text` is the file's text as UTF-8 (byte-order mark dropped); `exe` the executable's bytes.
ImportPlan planImport(const TableDef& table, std::string_view text,
                      std::span<const std::uint8_t> exe, NameSource* names);

}  // namespace vorlan
