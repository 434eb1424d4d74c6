#include "patch_command.h"

#include "tables/unit_patches.h"

namespace vorlan::cli {

void PatchCommand::declare(CLI::App& sub) {
    std::vector<std::string> names;
    for (const TablePatch* p : allPatches())
        names.push_back(p->name);
    sub.add_option("PATCH", patch_, "upgrade-limits or chips")
        ->required()
        ->check(CLI::IsMember(names));
}

int PatchCommand::runOn(Session& session, std::ostream& out, std::ostream& err) {
    const TablePatch* patch = nullptr;
    for (const TablePatch* p : allPatches()) {
        if (p->name == patch_)
            patch = p;
    }
    const WriteResult result =
        session.editor.setOnAll(*patch->table, patch->values, patch->caption);
    if (const int status = report(result, err); status != kOk)
        return status;
    if (result.status == WriteResult::Status::Unchanged) {
        out << patch->caption << "：全部机体已经是这样，没有写入任何内容。\n";
        return kOk;
    }
    out << patch->caption << "：已" << patch->summary << "（改动了 " << result.step.entries.size()
        << " 个机体，" << result.step.bytesChanged() << " 字节）。\n";
    return kOk;
}

}  // namespace vorlan::cli
