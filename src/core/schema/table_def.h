#pragma once
// Tables described as data: where a table lies, how big its entries are, and each field's
// place, width, encoding, control name, stable key and caption. The generic engine
// (record_io.h) walks these definitions; the editor and the command line share them.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "schema/encoding.h"

namespace vorlan {

struct FieldDef {
    std::string key;      // stable English name, used by the command line
    std::string control;  // the control's object name, e.g. "Text2", "Text40(3)"
    std::string caption;  // the Chinese caption on the page
    std::string group;    // the frame the control stands in, when the caption alone is ambiguous
    int offset = 0;       // within the entry
    int width = 1;        // bytes
    std::shared_ptr<const Encoding> encoding;
    std::uint8_t mask = 0;  // one-byte fields sharing a byte: the bits this field owns; 0 = all

    // Caption with its frame, for messages: "改造段数 EN".
    std::string fullCaption() const { return group.empty() ? caption : group + " " + caption; }
};

class NameSource;

// Bytes of an entry that no field save or whole-table edit may change (relative to the
// entry). A paste of a whole copied entry writes them, as the copy holds the whole record.
struct ByteSpan {
    int offset = 0;
    int length = 0;
};

// A name-code field and the read-only box that shows its decoded text.
struct DecodedName {
    std::string field;    // key of the name-code field
    std::string control;  // the box's control name, e.g. "Text34"
};

struct TableDef {
    std::string name;          // command-line name: "unit", "weapon", ...
    std::string caption;       // Chinese name
    std::uint32_t offset = 0;  // file offset of entry 0
    int size = 0;              // bytes per entry
    int count = 0;             // entries
    // Tables nested in another table's records (weapon slots in unit records): `perGroup`
    // entries of `size` bytes stand in each record of `groupStride` bytes.
    int perGroup = 0;
    std::uint32_t groupStride = 0;
    std::vector<FieldDef> fields;

    // Where an entry's label (its name in lists, messages and the undo history) comes
    // from: a rule, else a name list, else fixed items, else the caption and the number.
    std::function<std::string(int index, NameSource* names)> labelRule;
    NameList labelList = NameList::None;
    std::vector<std::string> labelItems;
    bool copyable = false;  // whole entries may be copied and pasted
    std::vector<DecodedName> decoded;
    std::vector<ByteSpan> reserved;

    std::uint32_t entryOffset(int index) const;
    // One past the last byte of the table.
    std::uint32_t end() const;
    const FieldDef* field(const std::string& keyOrControl) const;
    int fieldIndex(const std::string& keyOrControl) const;
    // The entry's label; `names` may be null or lack the list.
    std::string label(int index, NameSource* names) const;
    // Whether byte `at` of an entry lies in a reserved span.
    bool isReserved(int at) const;
};

// A field at `offset` of `width` bytes; `mask` for one-byte fields sharing a byte.
FieldDef fieldOf(std::string key, std::string control, std::string caption, int offset, int width,
                 EncodingPtr encoding, std::uint8_t mask = 0, std::string group = "");

// A table of `count` entries of `size` bytes from `offset`, without fields yet.
TableDef tableOf(std::string name, std::string caption, std::uint32_t offset, int size, int count);

}  // namespace vorlan
