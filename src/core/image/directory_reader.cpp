#include "image/directory_reader.h"

#include <cdio/logging.h>

#include <cerrno>
#include <string>

#include "image/iso_walk.h"
#include "image/udf_walk.h"
#include "io/child_process.h"
#include "io/file_ops.h"
#include "io/path_text.h"
#include "io/posix_file.h"

namespace vorlan {

namespace {

constexpr std::size_t kMaxAnswer = 1024;
constexpr const char* kDirectoryWork = "image-directories";

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

// The child's work: "<size> <path>" of the image the program holds open. It opens the
// image itself (on Linux by /proc/self/fd/N, the descriptor it inherited) and answers one
// line.
std::string walkInChild(const std::string& argument) {
    const std::size_t space = argument.find(' ');
    if (space == std::string::npos)
        return {};
    const std::string path = argument.substr(space + 1);
    std::uint64_t size = 0;
    try {
        size = std::stoull(argument.substr(0, space));
        PosixFile file(systemFileOps(), textPath(path), PosixFile::Mode::Read);
        DirectoryReport iso = walkIso9660(descriptorReader(file.fd()), size);
        if (iso.verdict != DirectoryReport::Verdict::Ok)
            return encodeReport(iso);
    } catch (const std::exception&) {
        return {};
    }
    cdio_log_set_handler(noLog);
    return encodeReport(walkUdf(path.c_str()));
}

const bool registered = registerChildWork(kDirectoryWork, walkInChild);

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
        kDirectoryWork,
        std::to_string(image.size) + " " + pathText(nameOfOpenFile(image.fd, image.path)), limit);
}

DirectoryReport reportFromChild(const char* work, const std::string& argument,
                                std::chrono::milliseconds limit) {
    using Damage = DirectoryReport::Damage;
    (void)registered;
    const ChildAnswer answer = runInChild(work, argument, limit, kMaxAnswer);
    if (answer.outcome == ChildAnswer::Outcome::TimedOut)
        return damaged(Damage::Timeout);
    if (answer.outcome == ChildAnswer::Outcome::Failed)
        return damaged(Damage::Reader);
    const auto report = decodeReport(answer.line);
    return report ? *report : damaged(Damage::Reader);
}

}  // namespace vorlan
