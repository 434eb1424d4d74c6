#include <algorithm>

#include "access/byte_store.h"
#include "command.h"
#include "escaped_stream.h"
#include "io/path_text.h"
#include "io/text_file.h"
#include "lists/data_folders.h"

namespace vorlan::cli {

int runCli(const std::vector<std::string>& args, const std::filesystem::path& programDir,
           std::ostream& rawOut, std::ostream& rawErr, const std::filesystem::path& userFolder) {
    // Every message and every output may quote a file's text or a path the player typed: none
    // reaches the terminal with its controls. Line ends and tabs, CSV's among them, pass.
    EscapedStream out(rawOut);
    EscapedStream err(rawErr);
    // Named, so that the usage line (and the manual page help2man makes of it) starts with it.
    CLI::App app{"vorlan-cli: reads and edits the game data of the VORLAN executable SLKV_618.04",
                 "vorlan-cli"};
    app.require_subcommand(1);
    // A path is never an option: `/games/vorlan.iso` is a path on Windows too (CLI11 would take
    // it there as a Windows-style option); subcommands made after this take the same rule.
    app.allow_windows_style_options(false);
    // Global options may also follow the subcommand: `get unit 5 --exe PATH`.
    app.fallthrough();
    GlobalOptions options;
    std::string dataDir;
    app.add_option("--exe", options.exe, "The game executable (SLKV_618.04) to read or edit");
    const ListFolder lists = findDataFolders(programDir, userFolder).lists;
    std::string dataHelp =
        "The data folder with the name lists, all four of them (default now: " + lists.shown() +
        ")";
    if (!userFolder.empty())
        dataHelp += "; without it, each list in " + pathText(userFolder) +
                    " is used before the program's own";
    app.add_option("--data", dataDir, dataHelp);
    std::string chars;
    app.add_option("--chars", chars,
                   "A character table to use instead of the data folder's string.txt: a .tbl "
                   "file (XXXX=字 lines) or a list in string.txt's form");
    app.add_flag("--force", options.force,
                 "Open an executable whose length is not the game's 3542016 bytes");
    app.add_flag("--no-backup", options.noBackup,
                 "Do not copy the executable to <name>.bak before the first write");

    auto commands = makeCommands();
    std::vector<CLI::App*> subs;
    for (auto& c : commands) {
        CLI::App* sub = app.add_subcommand(c->name(), c->description());
        c->declare(*sub);
        subs.push_back(sub);
    }

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return kOk;
    } catch (const CLI::CallForAllHelp&) {
        out << app.help("", CLI::AppFormatMode::All);
        return kOk;
    } catch (const CLI::ParseError& e) {
        err << e.what() << "\n"
            << "Run with --help for usage.\n";
        return kUsage;
    }

    options.dataDir = dataDir.empty() ? lists : ListFolder(textPath(dataDir));
    options.chars = textPath(chars);
    // A folder the player names must hold every list, as the editor requires: a command would
    // otherwise show numbers where names belong and say nothing.
    if (!dataDir.empty()) {
        if (const std::string missing = options.dataDir.missingList(!chars.empty());
            !missing.empty()) {
            err << missingListMessage(options.dataDir, missing) << "\n";
            return kRefused;
        }
    }
    for (std::size_t i = 0; i < subs.size(); ++i) {
        if (subs[i]->parsed()) {
            try {
                return commands[i]->run(options, out, err);
            } catch (const Refusal& e) {
                err << e.what() << "\n";
                return kRefused;
            } catch (const AccessError& e) {
                err << e.what() << "\n";
                return kRefused;
            } catch (const DataFileError& e) {
                err << e.what() << "\n";
                return kRefused;
            } catch (const std::exception& e) {
                // Last resort: whatever went wrong is said, with the command, never an abort.
                err << "vorlan-cli " << commands[i]->name() << " 出错：" << e.what() << "\n";
                return kRefused;
            }
        }
    }
    return kUsage;
}

}  // namespace vorlan::cli
