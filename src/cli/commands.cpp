#include "chars_command.h"
#include "command.h"
#include "copy_command.h"
#include "diff_command.h"
#include "export_command.h"
#include "fields_command.h"
#include "get_command.h"
#include "import_command.h"
#include "info_commands.h"
#include "iso_command.h"
#include "mod_command.h"
#include "patch_command.h"
#include "set_command.h"
#include "text_commands.h"

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
