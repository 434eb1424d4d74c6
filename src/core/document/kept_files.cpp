#include "document/kept_files.h"

#include "document/backup.h"
#include "document/journal.h"
#include "io/path_text.h"

namespace vorlan {

KeptFiles keptFilesOf(const std::filesystem::path& exe) {
    KeptFiles kept;
    std::error_code ec;
    const auto real = std::filesystem::canonical(exe, ec);
    if (ec)
        return kept;
    FileStatus st;
    if (systemFileOps().stat(real, st) == 0)
        kept.files.emplace_back(st.identity(), "游戏主程序");
    kept.names.emplace_back(real, "游戏主程序");
    kept.names.emplace_back(backupPath(real), "游戏主程序的备份");
    kept.names.emplace_back(journalPath(real), "游戏主程序的恢复日志");
    const std::string base = pathText(real) + ".";
    kept.patterns.push_back({base, ".bak", "游戏主程序的备份"});
    kept.patterns.push_back({base, ".partial", "本程序正在建立的附属文件"});
    return kept;
}

}  // namespace vorlan
