#pragma once
// Tables described as data: where a table lies, how big its entries are, and each field's
// place, width, encoding, control name, stable key and caption. The generic engine
// (record_io.h) walks these definitions; the editor and the command line share them.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "access/encoding.h"

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

    std::uint32_t entryOffset(int index) const;
    // One past the last byte of the table.
    std::uint32_t end() const;
    const FieldDef* field(const std::string& keyOrControl) const;
    int fieldIndex(const std::string& keyOrControl) const;
};

}  // namespace vorlan
