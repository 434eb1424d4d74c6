#pragma once
// Reads the directories of an open image (iso_walk.h, and udf_walk.h where there is UDF) in
// a child process (forked on Linux, the program started again on Windows): a hostile image
// that crashes libcdio, makes it allocate without end or loop only ends that child, and
// becomes a refusal. The child reads the image through /proc/self/fd/N of the descriptor the
// program holds (its path where there is no /proc), writes one bounded line to a pipe and
// exits; the program waits a limited time.
//
// In-process mode (for the fuzzer, which cannot see into a child) walks the ISO 9660
// structures in the program itself and reads no UDF: libcdio runs only in the child.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

#include "image/directory_report.h"

namespace vorlan {

enum class DirectoryReading { Child, InProcess };

struct OpenImage {
    int fd;                      // open for reading (it may be read-write)
    std::filesystem::path path;  // the real file, for a system without /proc
    std::uint64_t size;
};

DirectoryReport readDirectories(const OpenImage& image, DirectoryReading how,
                                std::chrono::milliseconds limit = std::chrono::seconds(30));

// The child itself: runs the child work registered as `work` (child_process.h) on
// `argument` there and decodes the line it returns. A child that crashes, exits otherwise,
// answers nonsense or more than a line, or outlives `limit` (then killed) gives a Damaged
// report.
DirectoryReport reportFromChild(const char* work, const std::string& argument,
                                std::chrono::milliseconds limit);

}  // namespace vorlan
