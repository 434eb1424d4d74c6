#include "io/verified_write.h"

#include <algorithm>
#include <cerrno>

namespace vorlan {

void writeVerified(PosixFile& file, std::span<const WriteRun> runs, bool& touched,
                   const WriteHooks& hooks) {
    std::uint64_t total = 0;
    for (const WriteRun& r : runs)
        total += r.bytes.size();
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
    for (const WriteRun& r : runs) {
        const auto back = file.readAt(r.offset, r.bytes.size());
        if (!std::equal(back.begin(), back.end(), r.bytes.begin(), r.bytes.end()))
            throw IoError("写入后读回的内容与写入的不一致：" + file.path().string(), EIO);
    }
}

}  // namespace vorlan
