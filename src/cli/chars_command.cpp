#include "chars_command.h"

#include "io/path_text.h"
#include "list_cache.h"
#include "table_files.h"
#include "text/tbl.h"

namespace vorlan::cli {

void CharsCommand::declare(CLI::App& sub) {
    sub.add_option("ACTION", action_, "export")->required()->check(CLI::IsMember({"export"}));
    sub.add_option("FILE", file_, "The .tbl file to write")->required();
    sub.add_flag("--force", force_, "Overwrite an existing file");
}

int CharsCommand::run(const GlobalOptions& options, std::ostream& out, std::ostream&) {
    ListCache lists(options.dataDir, options.chars);
    const auto& entries = lists.charTable().entries();
    std::string text;
    try {
        text = formatTbl(entries);
    } catch (const TblError& e) {
        throw Refusal(std::string("字码表") + e.what() + "。没有写入文件。");
    }
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    writeOutput(textPath(options.exe), textPath(file_), bytes, force_, "字码表文件", "--force");
    out << "已把字码表（" << entries.size() << " 项）写入 " << file_ << "\n";
    return kOk;
}

}  // namespace vorlan::cli
