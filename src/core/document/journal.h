#pragma once
// The rollback journal: before a write replaces bytes of the executable, their old and new
// contents are saved and flushed to "<exe>.journal" beside it; the journal is removed once
// the new bytes are flushed. A journal found later belongs to a write that did not finish,
// and playing it back puts the executable as it was before that write.
//
// Layout (little-endian): "VORLANJ3", u64 executable size, u64 device, u64 inode (the file
// it belongs to), u32 CRC-32 of every byte of the file outside the runs (taken before the
// write), u32 run count, then per run u64 offset, u32 length, the old bytes and the new
// bytes; then the CRC-32 of everything before it. The journal is made as a new file and
// named only when complete, so a file at its name that is cut short, or has no magic, was
// never named by this program: it is somebody else's, and is never deleted or changed.
//
// A journal is played back only into the file it names, after that file passed every open
// check, only where the tables lie, only when every byte outside its runs is as it was before
// the write (not another file copied over this one), and only when every byte of each run
// still holds its old or its new value (a write torn anywhere): anything else means the file
// changed since, and playing it back would destroy that change.

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
    std::uint32_t outsideCrc = 0;  // of the file's bytes outside the runs, before the write
    std::vector<ByteRun> runs;     // in file order, never overlapping
};

// The CRC-32 of the bytes of `file` (of `size` bytes) outside `runs` (in file order), read
// through a small buffer. Throws IoError.
std::uint32_t outsideRunsCrc(PosixFile& file, std::uint64_t size, const std::vector<ByteRun>& runs);

std::vector<std::uint8_t> encodeJournal(const Journal& journal);

struct DecodedJournal {
    enum class State {
        Valid,
        Damaged,    // no magic, cut short or its checksum fails: never named by this program
        OldFormat,  // written by an earlier version, which did not bind it to the file's bytes
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

// What the file a journal is played into holds now: its identity, the bytes at each run (same
// order as journal.runs) and the CRC-32 of the rest (outsideRunsCrc over journal.runs).
struct PlaybackTarget {
    FileIdentity id;
    std::vector<std::vector<std::uint8_t>> current;
    std::uint32_t outsideCrc = 0;
};
// Why `journal` cannot be played into `target`, or an empty text when it can.
std::string playbackProblem(const Journal& journal, const PlaybackTarget& target,
                            const ByteRanges& writable);

// Writes and flushes the journal of `runs` for the open file `exe` (its identity and the
// checksum of its bytes outside the runs, which still hold their old values) as a new file
// beside `exePath`, named only when complete. Throws IoError (nothing of it left behind),
// e.g. when something already has the journal's name.
void writeJournal(FileOps& ops, const std::filesystem::path& exePath, PosixFile& exe,
                  const std::vector<ByteRun>& runs);

// None: no journal. Foreign: something in the journal's place that cannot be this program's
// own (see openSideFile), left alone; `problem` says what. Damaged: a file of its own with
// no magic or a bad checksum, which this program never names so: somebody else's, left alone.
enum class JournalState { None, Damaged, OldFormat, Malformed, Valid, Foreign };
// Whether a found journal is somebody else's file, never to be deleted or changed: reads go
// on beside it, writes are refused until it is moved away.
inline bool notOurs(JournalState state) {
    return state == JournalState::Foreign || state == JournalState::Damaged;
}
struct FoundJournal {
    JournalState state = JournalState::None;
    Journal journal;
    std::string problem;
};
// Reads the journal beside `exe` (identity `id`), if there is one. Throws IoError when it
// cannot be read.
FoundJournal readJournal(FileOps& ops, const std::filesystem::path& exe, const FileIdentity& id);
// The same for the journal at `journal`, wherever it lies.
FoundJournal readJournalFile(FileOps& ops, const std::filesystem::path& journal,
                             const FileIdentity& id);

// Removes the journal and flushes its folder. Throws IoError when it cannot be removed; it
// is never emptied or rewritten instead.
void removeJournal(FileOps& ops, const std::filesystem::path& exe);
void removeJournalFile(FileOps& ops, const std::filesystem::path& journal);

}  // namespace vorlan
