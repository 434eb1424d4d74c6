#include "cli/info_commands.h"

#include <iomanip>

#include "catalog/catalog.h"
#include "demo/demo_executable.h"
#include "io/new_file.h"
#include "lists/name_lists.h"
#include "text/char_table.h"

namespace vorlan::cli {

int TablesCommand::run(const GlobalOptions&, std::ostream& out, std::ostream&) {
    out << std::left << std::setw(20) << "name" << std::setw(11) << "offset" << std::setw(9)
        << "entries" << std::setw(6) << "size"
        << "caption\n";
    for (const TableDef* t : allTables()) {
        std::ostringstream offset;
        offset << "0x" << std::uppercase << std::hex << t->offset;
        out << std::left << std::setw(20) << t->name << std::setw(11) << offset.str()
            << std::setw(9) << t->count << std::setw(6) << t->size << t->caption;
        if (t->perGroup > 0)
            out << " (index UNIT:SLOT, " << t->perGroup << " per unit)";
        out << "\n";
    }
    return kOk;
}

void MakeDemoCommand::declare(CLI::App& sub) {
    sub.add_option("PATH", path_, "Where to write the demo executable")->required();
    sub.add_flag("--force", force_, "Overwrite an existing file");
}

int MakeDemoCommand::run(const GlobalOptions& options, std::ostream& out, std::ostream&) {
    std::error_code ec;
    const bool exists = std::filesystem::exists(std::filesystem::symlink_status(path_, ec));
    if (!force_ && exists) {
        throw Refusal("文件已存在，没有覆盖（如需覆盖请加 --force）：" + path_);
    }
    std::vector<std::string> entries;
    try {
        entries = readListFile(options.dataDir, kCharList);
    } catch (const DataFileError& e) {
        throw Refusal(e.what());
    }
    const auto bytes = makeDemoExecutable(CharTable(std::move(entries)));
    // Written whole under a fresh name beside its place and named only when complete: a full
    // disk or an unwritable folder leaves no partial file, and a link planted at the name is
    // replaced, never written through.
    try {
        if (exists)
            replaceFile(systemFileOps(), path_, bytes);
        else
            createNewFile(systemFileOps(), path_, bytes);
    } catch (const IoError& e) {
        throw Refusal(std::string("无法写入演示用的游戏主程序：") + e.what());
    }
    out << "Wrote " << bytes.size() << " bytes to " << path_ << "\n";
    return kOk;
}

}  // namespace vorlan::cli
