#pragma once
// Work that may crash, allocate without end or loop (a library reading a hostile file), run
// in a child process of its own: the program gets the one bounded line it answers, or hears
// that it failed, and goes on either way.

#include <chrono>
#include <cstddef>
#include <filesystem>
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

// Work a child process can be asked for by name, registered by the code that needs it
// (`static const bool registered = registerChildWork(...)`). Where there is no fork (Windows)
// the child is this program started again with hidden arguments naming the work: every
// program's main answers them first of all (program_start.h).
using ChildWork = std::string (*)(const std::string& argument);
bool registerChildWork(const char* name, ChildWork work);

// Runs the work registered as `name` on `argument` in a child whose memory is limited to what
// the program has mapped and a gigabyte more; waits `limit` at most. The child runs nothing
// of the parent's after the work (no exit handlers, no buffers flushed). Throws
// std::logic_error in a program whose main did not call startProgram().
ChildAnswer runInChild(const char* name, const std::string& argument,
                       std::chrono::milliseconds limit, std::size_t maxAnswer);

// A name through which a child may read the file open as `fd` (/proc/self/fd/N where there
// is one), else `fallback`.
std::filesystem::path nameOfOpenFile(int fd, const std::filesystem::path& fallback);

}  // namespace vorlan
