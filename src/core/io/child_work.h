#pragma once
// What both systems' child process bodies share: the registry of works, the hidden arguments
// that start this program again as a child, and the rules for reading a child's answer.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "io/child_process.h"

namespace vorlan {

// The work registered as `name`, or nullptr.
ChildWork childWork(const std::string& name);

// The hidden arguments that make this program, started again, do `name` on `argument`:
// "--vorlan-child NAME xHEX", HEX being the argument's bytes, so that no quoting rule of a
// command line can change them.
std::vector<std::string> childRequest(const std::string& name, const std::string& argument);

// What a program's own arguments (its name left out) ask of it as a child: nothing when they
// are not a child request; a request without a work when they name an unknown work or carry
// a malformed argument.
struct ChildRequest {
    ChildWork work = nullptr;
    std::string argument;
};
std::optional<ChildRequest> parseChildRequest(const std::vector<std::string>& args);

// The child's answer as it arrives, held to `maxAnswer` bytes. Both systems end the reading
// and the child at once when the answer grows past the limit (Failed); a child that outlived
// its time is TimedOut; one that exited with status 0 after an answer within the limit
// Answered; anything else Failed.
class AnswerReader {
public:
    explicit AnswerReader(std::size_t maxAnswer) : max_(maxAnswer) {}
    // Takes more of the answer; false once it is longer than allowed (stop reading then).
    bool take(std::string_view bytes);
    bool tooLong() const { return answer_.line.size() > max_; }
    ChildAnswer end(bool timedOut, bool exitedWithZero);

private:
    std::size_t max_;
    ChildAnswer answer_;
};

// Each system's own part (child_process.cpp, child_process_win.cpp): the program's arguments
// after its name, writing the answer on standard output, and readying a child for hostile
// input (no crash report window on Windows).
std::vector<std::string> ownArguments();
bool writeAnswer(std::string_view line);
void prepareChild();
// Whether startProgram ran in this process; runInChild refuses otherwise.
bool programStarted();

}  // namespace vorlan
