#include "cli/chars_command.h"

#include "cli/list_cache.h"
#include "io/new_file.h"
#include "text/tbl.h"

namespace vorlan::cli {

void CharsCommand::declare(CLI::App& sub) {
    sub.add_option("ACTION", action_, "export")->required()->check(CLI::IsMember({"export"}));
    sub.add_option("FILE", file_, "The .tbl file to write")->required();
    sub.add_flag("--force", force_, "Overwrite an existing file");
}

int CharsCommand::run(const GlobalOptions& options, std::ostream& out, std::ostream&) {
    std::error_code ec;
    const bool exists = std::filesystem::exists(std::filesystem::symlink_status(file_, ec));
    if (exists && !force_)
        throw Refusal("文件已存在，没有覆盖（如需覆盖请加 --force）：" + file_);
    ListCache lists(options.dataDir, options.chars);
    const auto& entries = lists.charTable().entries();
    std::string text;
    try {
        text = formatTbl(entries);
    } catch (const TblError& e) {
        throw Refusal(std::string("字码表") + e.what() + "。没有写入文件。");
    }
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    try {
        if (exists)
            replaceFile(systemFileOps(), file_, bytes);
        else
            createNewFile(systemFileOps(), file_, bytes);
    } catch (const IoError& e) {
        throw Refusal(std::string("无法写入字码表文件：") + e.what());
    }
    out << "已把字码表（" << entries.size() << " 项）写入 " << file_ << "\n";
    return kOk;
}

}  // namespace vorlan::cli
