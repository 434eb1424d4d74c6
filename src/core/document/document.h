#pragma once
// The open executable as one object that owns every access to the file.
//
// Every read takes the file's shared lock; every write goes through `write`, which:
//  1. opens the file and takes its exclusive lock, waiting a few seconds at most;
//  2. checks that the path still names the file that was opened (device, inode, size)
//     and that it still begins with the ELF magic;
//  3. plays back a journal left by an interrupted write;
//  4. reads the ranges the change needs and lets the change edit them in memory (the
//     change may refuse, and nothing is written);
//  5. before the first write of the run, makes or checks the backup;
//  6. saves the old bytes of every changed run to the journal and flushes it;
//  7. writes the changed runs, flushes, reads them back and compares;
//  8. removes the journal.
// A failure in 6 to 8 puts the old bytes back and says so; only when even that fails is
// the journal kept, to be played back at the next open. The result carries a step with
// the old and new bytes, for undo and for the status line.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/backup.h"
#include "document/journal.h"
#include "document/write_step.h"
#include "io/file_ops.h"
#include "io/posix_file.h"
#include "schema/record_io.h"

namespace vorlan {

// The file cannot be opened or read as the game executable; the text says why.
class DocumentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file is a MIPS ELF that holds every table but is not of the game executable's length:
// opened only when the user confirms (DocumentOptions::allowUnusualSize).
class UnusualSizeError : public DocumentError {
public:
    UnusualSizeError(const std::filesystem::path& path, std::uint64_t size);
};

// Another program holds the file open so that nobody else may write it (a sharing mode on
// Windows): it may still be opened read-only (DocumentOptions::readOnly).
class BusyError : public DocumentError {
public:
    using DocumentError::DocumentError;
};

// The path names another file than the one opened (or none), or the file's length changed:
// reading or writing it would mix two files. Reopening the path is the way on.
class ReplacedError : public DocumentError {
public:
    using DocumentError::DocumentError;
};

// Playing a journal back failed after it began rewriting the file: part of the old bytes may
// be back, the rest not. The journal is kept, and the next open tries again.
class RecoveryError : public DocumentError {
public:
    using DocumentError::DocumentError;
};

// What the document knows of the tables: how large a file must be to hold them all, and the
// byte ranges they cover, the only ones a journal is ever played back into.
struct TableLayout {
    std::uint64_t minimumSize = 0;
    ByteRanges writable;
};

struct DocumentOptions {
    bool backup = true;  // copy the executable to "<exe>.bak" before the first write
    std::chrono::milliseconds lockWait{5000};
    bool readOnly = false;          // only reads: a file without write permission may be opened
    FileOps* ops = nullptr;         // the system's calls unless a test gives others
    bool allowUnusualSize = false;  // open an executable of another length than the game's
};

// A run of bytes a change reads under the lock and may edit.
struct Block {
    std::uint64_t offset = 0;
    std::vector<std::uint8_t> bytes;
};

// What a change decided about the blocks it was given.
struct EditOutcome {
    // Why it refused: every refused value, or one refusal of the whole change (field -1).
    std::vector<FieldRefusal> refusals;
    std::string label;                // for the step: "机体005：HP 1000 → 2000"
    std::vector<std::string> fields;  // keys of the fields changed
    std::vector<int> entries;         // the entries changed, when fewer than the change's

    bool refused() const { return !refusals.empty(); }
    static EditOutcome refusal(std::string message) {
        EditOutcome out;
        out.refusals.push_back({-1, -1, std::move(message)});
        return out;
    }
};

// A write to make: what it is for, the ranges it reads, and the edit of them. It is only
// read by the document; what the edit decided comes back in its outcome.
struct Change {
    std::string table;
    std::vector<int> entries;
    // (offset, length) of each block to read; blocks must not overlap.
    std::vector<std::pair<std::uint64_t, std::size_t>> ranges;
    // Edits the blocks in place, or refuses.
    std::function<EditOutcome(std::vector<Block>&)> edit;
};

struct WriteResult {
    enum class Status {
        Written,        // the change is in the file, flushed and read back
        Unchanged,      // the change left every byte as it was: nothing written
        Refused,        // the change refused its input: nothing written
        Busy,           // another program held the file's lock too long: nothing written
        Replaced,       // the file is not the one opened any more: nothing written
        BackupProblem,  // no trusted backup and none could be made: nothing written
        Failed,         // writing failed (or the change itself was faulty); see fileChanged
    };
    Status status = Status::Unchanged;
    std::string message;  // for every status but Written and Unchanged
    // Failed only: true when the file may hold part of a write (the old bytes could not be
    // put back, or playing back an earlier journal failed part-way); the journal is kept and
    // the next open restores them.
    bool fileChanged = false;
    // Refused: every refused value (the message is the first one's), for one answer naming
    // them all.
    std::vector<FieldRefusal> refusals;
    BackupCheck::Kind backupKind = BackupCheck::Kind::Made;  // for BackupProblem
    WriteStep step;                                          // Written: what changed
    std::string backupNote;    // the first write of the run: which backup protects the file
    std::string recoveryNote;  // an interrupted earlier write was undone first

    bool ok() const { return status == Status::Written || status == Status::Unchanged; }
};

class Document {
public:
    // Opens `path` as the game executable: a regular file, readable (and writable unless
    // read-only), beginning with the ELF magic, large enough to hold every table. A journal
    // left beside it by an interrupted write is played back first (see recoveryNote()).
    // Throws DocumentError with the reason the file is refused.
    static std::unique_ptr<Document> open(const std::filesystem::path& path,
                                          const TableLayout& layout, DocumentOptions options = {});
    ~Document();

    const std::filesystem::path& path() const { return path_; }
    // The file as it was opened: device, inode and size.
    const FileIdentity& identity() const { return identity_; }
    // Whether the path now names another file (or none), or the file's length changed: every
    // later read and write is refused (ReplacedError, WriteResult::Status::Replaced).
    bool replaced();
    std::uint64_t size() const { return identity_.size; }
    // Set when opening (or a later access) restored an interrupted write; cleared by take.
    std::string takeRecoveryNote();
    // From now on, a restored interrupted write is told to `listener` as it happens (during
    // any read or write) instead of being kept for takeRecoveryNote or the write's result.
    void setRecoveryListener(std::function<void(const std::string&)> listener) {
        recoveryListener_ = std::move(listener);
    }

    // Why the file may hold an interrupted write now, or an empty text: a file at its
    // journal's name that could not be played back, or a journal beside another of its names.
    // What is copied out of the file whole (into a disc image) must not be a torn file.
    std::string unfinishedWriteProblem();

    // Reads bytes under the shared lock. Throws DocumentError (ReplacedError when replaced).
    std::vector<std::uint8_t> read(std::uint64_t offset, std::size_t count);

    WriteResult write(const Change& change);
    // Puts back the bytes a step replaced (undo), or writes them again (redo), provided the
    // file still holds what the step left there (or found there); otherwise refuses.
    WriteResult undo(const WriteStep& step);
    WriteResult redo(const WriteStep& step);

    // After a BackupProblem: the next write makes a fresh backup under a dated name, or
    // writes without one for the rest of the run.
    void backupToDatedFile() { datedBackup_ = true; }
    void writeWithoutBackup();
    // The backup protecting this run's writes, once one has been made or found.
    const std::filesystem::path& backupFile() const { return backupFile_; }

private:
    Document(std::filesystem::path path, const TableLayout& layout, DocumentOptions options);
    FileOps& ops() { return *options_.ops; }
    // Opens and locks the file, checks it is still the one opened, and plays back a journal.
    PosixFile lockedFile(bool forWriting, WriteResult* result);
    // Plays back a journal of ours (the one beside the file's name, or `journal` wherever the
    // record of pending writes found it); false when the file at the journal's name is
    // somebody else's (noted, left alone).
    bool recover(PosixFile& exe, std::filesystem::path journal = {});
    // A journal of this file's found by its identity away from its name (a write through
    // another name, or before a move, that did not finish), or nothing.
    std::optional<std::filesystem::path> journalElsewhere();
    // Notes, once a run, a file at the journal's name that is not ours; true when it is one.
    bool noteIfNotOurs(const FoundJournal& found);
    std::string notOursText(const FoundJournal& found) const;
    void restored(std::string note);
    WriteResult replaceBytes(const WriteStep& step, bool forward);
    // Steps 5 to 8 of a write, on the locked file.
    void commit(PosixFile& exe, WriteResult& result);
    // Whether the file's name still leads to the open file `exe`.
    bool namesFile(PosixFile& exe);
    // Removes this write's journal and its record; false when the journal cannot go.
    bool dropJournal(const FileIdentity& id);
    // What became of the file renamed during a write, and of its old name.
    std::string movedMessage(PosixFile& exe);

    std::filesystem::path path_;
    TableLayout layout_;
    DocumentOptions options_;
    FileIdentity identity_;
    bool backupDone_ = false;
    bool datedBackup_ = false;
    std::filesystem::path backupFile_;
    std::string recoveryNote_;
    std::string notOursText_;  // said once a run
    std::function<void(const std::string&)> recoveryListener_;
};

}  // namespace vorlan
