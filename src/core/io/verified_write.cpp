#include "io/verified_write.h"
#include "io/path_text.h"

#include <algorithm>
#include <cerrno>
#include <vector>

namespace vorlan {

void writeVerified(PosixFile& file, std::span<const WriteRun> runs, bool& touched,
                   const WriteHooks& hooks) {
    std::uint64_t total = 0;
    std::size_t largest = 0;
    for (const WriteRun& r : runs) {
        total += r.bytes.size();
        largest = std::max(largest, r.bytes.size());
    }
    std::uint64_t done = 0;
    for (const WriteRun& r : runs) {
        for (std::size_t at = 0; at < r.bytes.size(); at += hooks.chunk) {
            if (hooks.beforeChunk)
                hooks.beforeChunk();
            const std::size_t n = std::min(hooks.chunk, r.bytes.size() - at);
            touched = true;
            file.writeAt(r.offset + at, r.bytes.subspan(at, n));
            done += n;
            if (hooks.progress)
                hooks.progress(done, total);
        }
    }
    file.sync();
    // Read back a piece at a time into one small buffer: a region needs no copy of its own
    // (each fresh page of memory costs more than the read that fills it).
    constexpr std::size_t kBack = 256 << 10;
    std::vector<std::uint8_t> back(std::min(kBack, largest));
    for (const WriteRun& r : runs) {
        for (std::size_t at = 0; at < r.bytes.size(); at += kBack) {
            const std::size_t n = std::min(kBack, r.bytes.size() - at);
            const std::span<std::uint8_t> got(back.data(), n);
            file.readAt(r.offset + at, got);
            if (!std::equal(got.begin(), got.end(), r.bytes.subspan(at).begin()))
                throw IoError("写入后读回的内容与写入的不一致：" + pathText(file.path()), EIO);
        }
    }
}

}  // namespace vorlan
