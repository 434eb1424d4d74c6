#pragma once
// The rollback journal: before a write replaces bytes of the executable, their old and new
// contents are saved and flushed to "<exe>.journal" beside it; the journal is removed once
// the new bytes are flushed. A journal found later belongs to a write that did not finish,
// and playing it back puts the executable as it was before that write.
//
// Layout (little-endian): "VORLANJ2", u64 executable size, u64 device, u64 inode (the file
// it belongs to), u32 run count, then per run u64 offset, u32 length, the old bytes and the
// new bytes; then the CRC-32 of everything before it. The journal is made as a new file and
// named only when complete, so one cut short was never named by this program.
//
// A journal is played back only into the file it names, after that file passed every open
// check, only where the tables lie, and only when every byte of each run still holds its old
// or its new value (a write torn anywhere): anything else means the file changed since, and
// playing it back would destroy that change.

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "document/write_step.h"
#include "io/file_ops.h"
#include "io/posix_file.h"

namespace vorlan {

std::filesystem::path journalPath(const std::filesystem::path& exe);

struct Journal {
    std::uint64_t exeSize = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::vector<ByteRun> runs;  // in file order, never overlapping
};

std::vector<std::uint8_t> encodeJournal(const Journal& journal);

struct DecodedJournal {
    enum class State {
        Valid,
        Damaged,    // cut short or its checksum fails: never completed by this program
        OldFormat,  // written by an earlier version, which did not say whose file it was
        Malformed,  // whole, but describes runs no write of this program makes
    };
    State state = State::Damaged;
    Journal journal;
    std::string why;  // Malformed: what is wrong, in Chinese
};
// Reads at most `bytes.size()` bytes and allocates no more than that.
DecodedJournal decodeJournal(std::span<const std::uint8_t> bytes);

// Byte ranges [begin, end) of the file that a journal may touch.
using ByteRanges = std::vector<std::pair<std::uint64_t, std::uint64_t>>;

// Why `journal` cannot be played into the file `exe` (identity `id`) holding `current` bytes
// at each run (same order as journal.runs), or an empty text when it can.
std::string playbackProblem(const Journal& journal, const FileIdentity& id,
                            const ByteRanges& writable,
                            const std::vector<std::vector<std::uint8_t>>& current);

// Writes and flushes the journal of `runs` for the file `id` as a new file, named only when
// complete. Throws IoError (nothing of it left behind), e.g. when something already has the
// journal's name.
void writeJournal(FileOps& ops, const std::filesystem::path& exe, const FileIdentity& id,
                  const std::vector<ByteRun>& runs);

// None: no journal. Foreign: something in the journal's place that cannot be this program's
// own (see openSideFile), left alone; `problem` says what.
enum class JournalState { None, Damaged, OldFormat, Malformed, Valid, Foreign };
struct FoundJournal {
    JournalState state = JournalState::None;
    Journal journal;
    std::string problem;
};
// Reads the journal beside `exe` (identity `id`), if there is one. Throws IoError when it
// cannot be read.
FoundJournal readJournal(FileOps& ops, const std::filesystem::path& exe, const FileIdentity& id);

// Removes the journal and flushes its folder. Throws IoError when it cannot be removed; it
// is never emptied or rewritten instead.
void removeJournal(FileOps& ops, const std::filesystem::path& exe);

}  // namespace vorlan
