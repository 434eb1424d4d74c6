#include "cli/chars_command.h"
#include "cli/command.h"
#include "cli/copy_command.h"
#include "cli/diff_command.h"
#include "cli/export_command.h"
#include "cli/fields_command.h"
#include "cli/get_command.h"
#include "cli/import_command.h"
#include "cli/info_commands.h"
#include "cli/iso_command.h"
#include "cli/mod_command.h"
#include "cli/patch_command.h"
#include "cli/set_command.h"
#include "cli/text_commands.h"

namespace vorlan::cli {

std::vector<std::unique_ptr<Command>> makeCommands() {
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<TablesCommand>());
    commands.push_back(std::make_unique<FieldsCommand>());
    commands.push_back(std::make_unique<GetCommand>());
    commands.push_back(std::make_unique<SetCommand>());
    commands.push_back(std::make_unique<CopyCommand>());
    commands.push_back(std::make_unique<PatchCommand>());
    commands.push_back(std::make_unique<ExportCommand>());
    commands.push_back(std::make_unique<ImportCommand>());
    commands.push_back(std::make_unique<DiffCommand>());
    commands.push_back(std::make_unique<DecodeCommand>());
    commands.push_back(std::make_unique<LookupCommand>());
    commands.push_back(std::make_unique<IsoCommand>());
    commands.push_back(std::make_unique<MakeDemoCommand>());
    commands.push_back(std::make_unique<ModCommand>());
    commands.push_back(std::make_unique<CharsCommand>());
    return commands;
}

}  // namespace vorlan::cli
