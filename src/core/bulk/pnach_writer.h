#pragma once
// Writing a PCSX2 memory patch (.pnach) from the unmodified executable to an edited one.
//
// The file starts with "gametitle=" and a comment naming this program. Every 4-byte-aligned
// word of memory holding a changed byte becomes "patch=0,EE,ADDRESS,word,VALUE" with the
// edited file's word, written once at start. A word that leaves its segment's file part, or
// that lies partly in the tables and partly outside them, is written byte by byte instead, so
// that no line writes a byte the reader of this program would refuse for the other. Runs of
// consecutive lines are preceded by a comment naming the fields they change.

#include <cstdint>
#include <span>
#include <string>

#include "document/journal.h"
#include "schema/name_source.h"

namespace vorlan {

// The patch's text. Addresses come from the program headers of `original`. Throws PatchError
// when the two differ in length, or differ outside every loaded segment (naming the offsets:
// the emulator could not apply those).
std::string makePnach(std::span<const std::uint8_t> original, std::span<const std::uint8_t> current,
                      const ByteRanges& writable, NameSource* names);

}  // namespace vorlan
