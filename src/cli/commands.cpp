#include "cli/command.h"
#include "cli/info_commands.h"

namespace vorlan::cli {

std::vector<std::unique_ptr<Command>> makeCommands() {
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<TablesCommand>());
    commands.push_back(std::make_unique<MakeDemoCommand>());
    return commands;
}

}  // namespace vorlan::cli
