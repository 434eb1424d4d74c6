#pragma once
// Opening the executable named by --exe: it must pass the editor's checks; reads open it
// read-only; the first write of a run is preceded by the safety copy.

#include <memory>
#include <ostream>

#include "access/byte_store.h"
#include "cli/command.h"

namespace vorlan::cli {

// The checked executable, opened read-only. Throws Refusal when --exe is missing or the
// file is refused.
std::unique_ptr<FileStore> openForReading(const GlobalOptions& options);

// Makes the safety copy (unless --no-backup), reporting a new copy on `err`, then opens
// the file for writing. Throws Refusal, having written nothing, when the copy fails.
std::unique_ptr<FileStore> openForWriting(const GlobalOptions& options, std::ostream& err);

}  // namespace vorlan::cli
