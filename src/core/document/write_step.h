#pragma once
// What one write did to the file: the runs of bytes it replaced, with their old and new
// contents, and a label for the user. Undo puts the old bytes back; redo the new ones.

#include <cstdint>
#include <string>
#include <vector>

namespace vorlan {

struct ByteRun {
    std::uint64_t offset = 0;
    std::vector<std::uint8_t> before;
    std::vector<std::uint8_t> after;
};

struct WriteStep {
    std::string table;                // the table's command-line name, e.g. "unit"
    std::vector<int> entries;         // the entries written
    std::vector<std::string> fields;  // keys of the fields written (empty for whole entries)
    std::vector<ByteRun> runs;        // in file order, never overlapping
    std::string label;                // "机体005：HP 1000 → 2000"

    std::size_t bytesChanged() const;
    // The same step the other way round: what undo writes.
    WriteStep reversed() const;
};

// The runs where `after` differs from `before` (two blocks of one size starting at `offset`).
std::vector<ByteRun> changedRuns(std::uint64_t offset, const std::vector<std::uint8_t>& before,
                                 const std::vector<std::uint8_t>& after);

}  // namespace vorlan
