#pragma once
// Work that may crash, allocate without end or loop (a library reading a hostile file), run
// in a child process of its own: the program gets the one bounded line it answers, or hears
// that it failed, and goes on either way.

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

namespace vorlan {

struct ChildAnswer {
    enum class Outcome {
        Answered,  // exited normally after writing `line`
        Failed,    // crashed, exited otherwise, answered more than allowed, or never started
        TimedOut,  // outlived its time and was killed
    };
    Outcome outcome = Outcome::Failed;
    std::string line;
};

// Runs `work` in a forked child whose address space is limited to what the program has
// mapped and a gigabyte more; waits `limit` at most. The child runs nothing of the parent's
// after `work` (no exit handlers, no buffers flushed).
ChildAnswer runInChild(const std::function<std::string()>& work, std::chrono::milliseconds limit,
                       std::size_t maxAnswer);

// A name through which a child may read the file open as `fd` (/proc/self/fd/N where there
// is one), else `fallback`.
std::filesystem::path nameOfOpenFile(int fd, const std::filesystem::path& fallback);

}  // namespace vorlan
