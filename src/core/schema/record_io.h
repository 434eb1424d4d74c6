#pragma once
// The generic show and save of one table entry, over the entry's bytes in memory.
//
// Show turns each field's bytes into the value its control shows. Save takes the values
// shown and the values now in the controls, and:
//  - converts and checks every changed field, refusing the save with a message for each
//    bad field (so one answer can name them all) and leaving the bytes as they were;
//  - changes only the fields whose value changed, over the entry's bytes as they are at
//    save time, so an entry saved unchanged stays byte for byte as it was.
// The document (document/entry_editor.h) reads the bytes under the file's lock and writes
// what changed; nothing here touches a file.

#include <cstdint>
#include <string>
#include <vector>

#include "access/byte_store.h"
#include "schema/field_value.h"
#include "schema/table_def.h"

namespace vorlan {

// A value refused, and why (what its field accepts): which of the caller's edits (-1 when
// there is only one) and which field (-1 when the whole change is refused). The one record
// of a refusal, from a record's save up to the document's write result.
struct FieldRefusal {
    int edit = -1;
    int field = -1;
    std::string message;
};

struct SaveOutcome {
    std::vector<FieldRefusal> refusals;  // every bad field, in field order; none: applied
    std::vector<int> fields;             // indexes of the fields written
    std::uint64_t writeOffset = 0;       // the one positioned write (file offset, byte count)
    std::size_t writeLength = 0;

    bool ok() const { return refusals.empty(); }
};

// Reads every field of an entry held in `store` from byte `at` on (by default a buffer of the
// entry's size).
std::vector<FieldValue> readEntry(ByteStore& store, const TableDef& table, std::uint64_t at = 0);
// Reads one field of such an entry.
FieldValue readField(ByteStore& store, const FieldDef& f, std::uint64_t at = 0);

// Applies to the entry buffer every field whose edited value differs from the shown one.
// On refusal the buffer is left as it was. `writeOffset`/`writeLength` are filled relative
// to the buffer: the span from the first to the last byte that changed.
SaveOutcome applyEdits(std::vector<std::uint8_t>& entry, const TableDef& table,
                       const std::vector<FieldValue>& shown, const std::vector<FieldValue>& edited);

// "「HP」应为 0 到 65535 之间的整数。" — the refusal text for one field.
std::string refusalMessage(const FieldDef& f);

}  // namespace vorlan
