#pragma once
// The safety copy of the executable, made before the first write of a run and checked
// before it is trusted. It is made as a new file (new_file.h), so a copy cut short never
// carries the backup's name; an existing backup is never overwritten or deleted, and one
// that is not a plain file of this user's with one name is not trusted.

#include <filesystem>
#include <string>
#include <vector>

#include "io/file_ops.h"
#include "io/new_file.h"
#include "io/posix_file.h"

namespace vorlan {

// "<exe>.bak"
std::filesystem::path backupPath(const std::filesystem::path& exe);
// "<exe>.20261207-221500.bak", for a fresh backup beside an untrusted one.
std::filesystem::path datedBackupPath(const std::filesystem::path& exe);

struct BackupCheck {
    enum class Kind {
        Made,       // a new backup was made now
        Existing,   // a backup of the executable's length was there already
        Untrusted,  // something is at the backup's name that cannot be a whole backup
        Failed,     // the copy could not be made
        DiskFull,   // … for want of room on the disk (the message says how much it needs)
    };
    Kind kind = Kind::Failed;
    std::filesystem::path path;
    std::string message;  // for Untrusted, Failed and DiskFull: what is wrong, in Chinese
};

// The bytes of the backup `path` of the executable `exe` (its identity, size included), read
// only when the write path would trust it: a regular file of this user's with one name, not
// a name of the executable itself, of the executable's length. Throws IoError naming it and
// saying why not (ENOENT when there is none).
std::vector<std::uint8_t> readTrustedBackup(FileOps& ops, const std::filesystem::path& path,
                                            const FileIdentity& exe);

// Makes `target` a backup of `exe` unless a trusted one is there. Call it holding the
// executable's lock, so the copy is of the file as no other writer has changed it.
BackupCheck ensureBackup(FileOps& ops, PosixFile& exe, const std::filesystem::path& target);

}  // namespace vorlan
