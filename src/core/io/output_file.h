#pragma once
// Files the player asks for (an export, a patch, a character table, a demo executable): made
// new, or, when the player said to replace one, put in place of a regular file of that name.
// Never in place of a file the program must keep (the open executable by any of its names,
// its backup, journal and other side files), nor of anything that is not a regular file (a
// link, a named pipe, a device, a folder): a typo in an output name must not cost the game.

#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "io/file_ops.h"
#include "io/posix_file.h"

namespace vorlan {

// What an output must never replace, each with what it is, for the refusal ("游戏主程序").
struct KeptFiles {
    // By name: exact paths (absolute, through their real folder).
    std::vector<std::pair<std::filesystem::path, std::string>> names;
    // By name: every path that starts with the first text and ends with the second.
    struct Pattern {
        std::string prefix;
        std::string suffix;
        std::string what;
    };
    std::vector<Pattern> patterns;
    // By identity: any name of these files.
    std::vector<std::pair<FileIdentity, std::string>> files;
    // By content: each gives what a regular file at the target is (a saved region, a journal),
    // or an empty text when it is none of its kind; the file may be crafted, read bounded.
    using Recogniser =
        std::function<std::string(FileOps&, const std::filesystem::path&, const FileStatus&)>;
    std::vector<Recogniser> recognisers;
    // By name and what lies beside it: each gives what a file at the target's real path would
    // be (a file kept beside a disc image there), or an empty text; whether or not one is there.
    using NameCheck = std::function<std::string(FileOps&, const std::filesystem::path&)>;
    std::vector<NameCheck> nameChecks;

    void add(const KeptFiles& other);
};

// Why `target` may not be written as an output, or an empty text when it may (a regular file
// there is left to the write: replaced only when asked). Names ending as the program's side
// files do (".journal", ".bak", ".orig", ".replacing", ".partial") are never outputs: a file
// made there could later pass for one beside some executable or image.
std::string outputProblem(FileOps& ops, const std::filesystem::path& target, const KeptFiles& kept);

// Writes `bytes` as `target`: new, or with `replace` in place of a regular file there. Throws
// IoError: EEXIST when something is there and `replace` was not given, EPERM when the target
// is one of `kept` or not a regular file (the text names it and says why).
void writeOutputFile(FileOps& ops, const std::filesystem::path& target,
                     std::span<const std::uint8_t> bytes, bool replace, const KeptFiles& kept);

// writeOutputFile for a run that makes one output (an export, a patch, a demo, an extracted
// executable): holds the lock of the output's folder while it writes, and first removes what a
// killed earlier run left under the output's fresh names ("<output>.….partial"). Not for a
// folder an OutputFolder of this run already holds.
void writeLoneOutputFile(FileOps& ops, const std::filesystem::path& target,
                         std::span<const std::uint8_t> bytes, bool replace, const KeptFiles& kept);

// A folder that one run fills with several outputs (every table exported at once): holds the
// folder's lock while it lives, so two runs do not mix their files, and first removes what a
// killed earlier run left under the outputs' fresh names ("<output>.….partial").
class OutputFolder {
public:
    // Throws IoError when the folder cannot be opened, or another run holds it for seconds.
    OutputFolder(FileOps& ops, const std::filesystem::path& folder,
                 const std::vector<std::filesystem::path>& outputs);

private:
    PosixFile lock_;
};

}  // namespace vorlan
