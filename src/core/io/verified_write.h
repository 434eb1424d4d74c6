#pragma once
// The one way the program puts bytes into a file it edits in place (the executable, the disc
// image): each run written in chunks through the open, locked descriptor, one flush, then
// every run read back and compared. A caller may stop it between chunks (the image checks
// that its path still names the file).

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "io/posix_file.h"

namespace vorlan {

struct WriteRun {
    std::uint64_t offset = 0;
    std::span<const std::uint8_t> bytes;
};

struct WriteHooks {
    std::size_t chunk = 1 << 20;
    // Before each chunk; may throw to stop the write there.
    std::function<void()> beforeChunk;
    // After each chunk: bytes written so far, of all runs together.
    std::function<void(std::uint64_t done, std::uint64_t total)> progress;
};

// Throws IoError (naming the file) when a write, the flush or the read-back fails or the
// bytes read back differ. `touched` turns true once a byte may have reached the file.
void writeVerified(PosixFile& file, std::span<const WriteRun> runs, bool& touched,
                   const WriteHooks& hooks = {});

}  // namespace vorlan
