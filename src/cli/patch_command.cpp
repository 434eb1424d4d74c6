#include "cli/patch_command.h"

#include "cli/executable.h"
#include "units/unit_patches.h"
#include "units/unit_table.h"

namespace vorlan::cli {

void PatchCommand::declare(CLI::App& sub) {
    sub.add_option("PATCH", patch_, "upgrade-limits or chips")
        ->required()
        ->check(CLI::IsMember({"upgrade-limits", "chips"}));
}

int PatchCommand::run(const GlobalOptions& options, std::ostream& out, std::ostream& err) {
    const auto file = openForWriting(options, err);
    const std::string units = "全部 " + std::to_string(kUnitCount) + " 个机体";
    if (patch_ == "upgrade-limits") {
        patchUpgradeLimits(*file);
        out << "TF改造丑小鸭：已把" << units
            << "的四项改造段数上限（EN、HP、装甲、运动性）都改为 10。\n";
    } else {
        patchChips(*file);
        out << "全机体可装4芯片：已把" << units << "的芯片数都改为 4。\n";
    }
    return kOk;
}

}  // namespace vorlan::cli
