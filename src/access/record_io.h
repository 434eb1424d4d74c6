#pragma once
// The generic show and save of one table entry.
//
// Show reads the entry's bytes and turns each field into the value its control shows.
// Save takes the values shown and the values now in the controls, and:
//  - converts and checks every changed field before any byte of the file is written,
//    refusing the save with one message that names the first bad field;
//  - writes only the fields whose value changed, over the entry's bytes as they are at
//    save time, so an entry saved unchanged stays byte for byte as it was;
//  - puts the result in the file with one positioned write, covering only changed bytes.

#include <cstdint>
#include <string>
#include <vector>

#include "access/byte_store.h"
#include "access/field_value.h"
#include "access/table_def.h"

namespace vorlan {

struct SaveOutcome {
    bool ok = true;
    std::string message;            // when refused: the first bad field and what it accepts
    int badField = -1;              // index of that field
    std::vector<int> fields;        // indexes of the fields written
    std::uint64_t writeOffset = 0;  // the one positioned write (file offset, byte count)
    std::size_t writeLength = 0;
};

// Reads every field of an entry held in `entry` (a buffer of the entry's size).
std::vector<FieldValue> readEntry(ByteStore& entry, const TableDef& table);

// Applies to the entry buffer every field whose edited value differs from the shown one.
// On refusal the buffer is left as it was. `writeOffset`/`writeLength` are filled relative
// to the buffer: the span from the first to the last byte that changed.
SaveOutcome applyEdits(std::vector<std::uint8_t>& entry, const TableDef& table,
                       const std::vector<FieldValue>& shown, const std::vector<FieldValue>& edited);

std::vector<FieldValue> showEntry(ByteStore& file, const TableDef& table, int index);
SaveOutcome saveEntry(ByteStore& file, const TableDef& table, int index,
                      const std::vector<FieldValue>& shown, const std::vector<FieldValue>& edited);

// One entry's edit, for saves that cover several entries at once.
struct EntryEdit {
    const TableDef* table;
    int index;
    std::vector<FieldValue> shown;
    std::vector<FieldValue> edited;
};

// Checks every edit first and writes nothing unless all are acceptable; then writes all of
// them with one positioned write (from the first to the last changed byte). The outcome is
// the first refusal, or `fields` listing every field written with the file span written.
SaveOutcome saveEntries(ByteStore& file, const std::vector<EntryEdit>& edits);

// Whole entries as bytes: what a copy takes and a paste puts back.
std::vector<std::uint8_t> readEntryBytes(ByteStore& file, const TableDef& table, int index);
void writeEntryBytes(ByteStore& file, const TableDef& table, int index,
                     const std::vector<std::uint8_t>& bytes);

// "「HP」应为 0 到 65535 之间的整数。" — the refusal text for one field.
std::string refusalMessage(const FieldDef& f);

}  // namespace vorlan
