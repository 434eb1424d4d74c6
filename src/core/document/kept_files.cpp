#include "document/kept_files.h"

#include <algorithm>

#include "document/backup.h"
#include "document/journal.h"

namespace vorlan {

namespace {

// A journal of this program's, whatever its name and whichever file it belongs to.
std::string aJournal(FileOps& ops, const std::filesystem::path& path, const FileStatus& st) {
    const std::string mark = "VORLANJ";
    if (st.size < mark.size())
        return {};
    try {
        PosixFile file(ops, path, PosixFile::Mode::Read, PosixFile::Links::Refuse);
        const auto head = file.readAt(0, mark.size());
        if (std::equal(head.begin(), head.end(), mark.begin()))
            return "本程序的恢复日志";
    } catch (const IoError&) {
        // Unreadable: the write itself says why it cannot replace it.
    }
    return {};
}

}  // namespace

KeptFiles keptFilesOf(const std::filesystem::path& exe) {
    KeptFiles kept;
    kept.recognisers.emplace_back(aJournal);
    if (exe.empty())
        return kept;
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
    const std::string base = real.string() + ".";
    kept.patterns.push_back({base, ".bak", "游戏主程序的备份"});
    kept.patterns.push_back({base, ".partial", "本程序正在建立的附属文件"});
    return kept;
}

}  // namespace vorlan
