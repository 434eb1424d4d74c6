#pragma once
// The rollback journal: before a write replaces bytes of the executable, their old contents
// are saved and flushed to "<exe>.journal" beside it; the journal is removed once the new
// bytes are flushed. A journal found later belongs to a write that did not finish, and
// playing it back puts the executable as it was before that write.
//
// Layout (little-endian): "VORLANJ1", u64 executable size, u32 run count, then per run
// u64 offset, u32 length and the old bytes, then the CRC-32 of everything before it.
// A journal cut short or damaged fails its check: it was never complete, so the write it
// belonged to never began, and it is discarded.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "document/file_ops.h"
#include "document/write_step.h"

namespace vorlan {

std::filesystem::path journalPath(const std::filesystem::path& exe);

struct Journal {
    std::uint64_t exeSize = 0;
    struct Range {
        std::uint64_t offset;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Range> ranges;
};

std::vector<std::uint8_t> encodeJournal(const Journal& journal);
// Nothing when the bytes are not a complete, undamaged journal.
std::optional<Journal> decodeJournal(const std::vector<std::uint8_t>& bytes);

// Writes and flushes the journal of `runs` (their `before` bytes). Throws IoError, having
// removed whatever part of the journal it wrote.
void writeJournal(FileOps& ops, const std::filesystem::path& exe, std::uint64_t exeSize,
                  const std::vector<ByteRun>& runs);

// Foreign: something in the journal's place that this program cannot have written (a folder,
// a file larger than any journal); it is left alone.
enum class JournalState { None, Damaged, Valid, Foreign };
struct FoundJournal {
    JournalState state = JournalState::None;
    Journal journal;
};
// Reads the journal beside `exe`, if there is one. Throws IoError when it cannot be read.
FoundJournal readJournal(FileOps& ops, const std::filesystem::path& exe);

// Removes the journal and flushes its folder. When the journal cannot be removed it is
// emptied instead, which makes it fail its check. Throws IoError when neither works.
void removeJournal(FileOps& ops, const std::filesystem::path& exe);

}  // namespace vorlan
