#pragma once
// A record of the writes under way, kept per user and keyed by the file's identity (device
// and inode; the volume serial number and file index on Windows), naming each one's journal.
// A journal lies beside the name the file was written through; after a killed write the file
// may be given another name, in another folder (a hard link, a move), where no journal lies
// beside it. The record finds the journal from the file itself, whatever it is called now.
//
// The record is made (flushed, named) before the journal, and removed after it, so that it is
// there whenever a journal may be: a record whose journal is gone is stale and is removed.
// Each record is a file "<device>-<inode>" in the user's private folder vorlan/pending holding
// "VORLANP1\n" and the journal's path.

#include <filesystem>
#include <optional>

#include "io/file_ops.h"

namespace vorlan {

// The folder of the records; empty when the user has no configuration folder.
std::filesystem::path pendingWritesFolder();

// Records that a write of the file `id` keeps its journal at `journal`. Throws IoError when
// the record cannot be made (no journal may be written then). Does nothing where the user has
// no configuration folder.
void recordPendingWrite(FileOps& ops, const FileIdentity& id, const std::filesystem::path& journal);

// Removes the record of `id`, once its journal is gone. Throws IoError when it is there and
// cannot be removed.
void endPendingWrite(FileOps& ops, const FileIdentity& id);

// The journal recorded for the file `id` when it is still there; a stale record (its journal
// gone, or no record of ours) is removed on the way, as far as it can be. Never throws.
std::optional<std::filesystem::path> pendingJournal(FileOps& ops, const FileIdentity& id);

}  // namespace vorlan
