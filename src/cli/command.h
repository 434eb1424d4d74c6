#pragma once
// One class per subcommand of vorlan-cli. Each declares its arguments on its CLI11
// subcommand and runs with explicit output streams, so tests call it without globals.

#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "lists/list_folder.h"

namespace vorlan::cli {

// Exit statuses of the tool.
inline constexpr int kOk = 0;
inline constexpr int kRefused =
    1;  // bad input or unusable file: message on stderr, nothing written
inline constexpr int kUsage = 2;
// A write failed and its old bytes could not be put back yet: the journal beside the
// executable restores them at the next open.
inline constexpr int kWriteFailed = 3;

// A refusal with its message; run() returns kRefused for it.
class Refusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct GlobalOptions {
    std::string exe;              // --exe
    ListFolder dataDir;           // --data, or the lists folders found
    std::filesystem::path chars;  // --chars: a character table instead of the data folder's
    bool noBackup = false;        // --no-backup
    bool force = false;           // --force: open an executable of unusual length
};

class Command {
public:
    virtual ~Command() = default;
    virtual std::string name() const = 0;
    virtual std::string description() const = 0;
    virtual void declare(CLI::App& sub) = 0;
    virtual int run(const GlobalOptions& options, std::ostream& out, std::ostream& err) = 0;
};

std::vector<std::unique_ptr<Command>> makeCommands();

// Runs the tool on `args` (without the program name). Without --data, the lists come from
// `userFolder` when it holds any (empty: no per-user folder), else from the data folder of
// the program in `programDir` (lists/data_folders.h).
int runCli(const std::vector<std::string>& args, const std::filesystem::path& programDir,
           std::ostream& out, std::ostream& err, const std::filesystem::path& userFolder = {});

}  // namespace vorlan::cli
