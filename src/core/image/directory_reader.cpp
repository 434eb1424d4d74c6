#include "image/directory_reader.h"

#include <cdio/logging.h>

#include <cerrno>
#include <string>

#include "image/iso_walk.h"
#include "image/udf_walk.h"
#include "io/child_process.h"
#include "io/file_ops.h"

namespace vorlan {

namespace {

constexpr std::size_t kMaxAnswer = 1024;

// Reads through the descriptor itself (pread leaves its offset alone).
ReadImage descriptorReader(int fd) {
    return [fd](std::uint64_t offset, std::span<std::uint8_t> out) {
        std::size_t done = 0;
        while (done < out.size()) {
            const std::ptrdiff_t n =
                systemFileOps().pread(fd, out.data() + done, out.size() - done, offset + done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    };
}

void noLog(cdio_log_level_t, const char*) {}

DirectoryReport walkAll(const OpenImage& image, const std::string& path) {
    DirectoryReport iso = walkIso9660(descriptorReader(image.fd), image.size);
    if (iso.verdict != DirectoryReport::Verdict::Ok)
        return iso;
    cdio_log_set_handler(noLog);
    return walkUdf(path.c_str());
}

}  // namespace

DirectoryReport readDirectories(const OpenImage& image, DirectoryReading how,
                                std::chrono::milliseconds limit) {
    if (how == DirectoryReading::InProcess) {
        // The same line the child would send, so the fuzzer covers its reading too.
        const auto report =
            decodeReport(encodeReport(walkIso9660(descriptorReader(image.fd), image.size)));
        return report ? *report : damaged(DirectoryReport::Damage::Reader);
    }
    return reportFromChild(
        [&image] {
            return encodeReport(walkAll(image, nameOfOpenFile(image.fd, image.path).string()));
        },
        limit);
}

DirectoryReport reportFromChild(const std::function<std::string()>& work,
                                std::chrono::milliseconds limit) {
    using Damage = DirectoryReport::Damage;
    const ChildAnswer answer = runInChild(work, limit, kMaxAnswer);
    if (answer.outcome == ChildAnswer::Outcome::TimedOut)
        return damaged(Damage::Timeout);
    if (answer.outcome == ChildAnswer::Outcome::Failed)
        return damaged(Damage::Reader);
    const auto report = decodeReport(answer.line);
    return report ? *report : damaged(Damage::Reader);
}

}  // namespace vorlan
