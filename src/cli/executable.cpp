#include "cli/executable.h"

#include "catalog/backup.h"
#include "catalog/executable_check.h"

namespace vorlan::cli {

namespace {

std::filesystem::path checkedPath(const GlobalOptions& options) {
    if (options.exe.empty())
        throw Refusal("请用 --exe 指定游戏主程序（SLKV_618.04）的路径。");
    if (const auto refusal = checkExecutable(options.exe))
        throw Refusal(*refusal);
    return options.exe;
}

}  // namespace

std::unique_ptr<FileStore> openForReading(const GlobalOptions& options) {
    return std::make_unique<FileStore>(checkedPath(options), FileStore::Mode::ReadOnly);
}

std::unique_ptr<FileStore> openForWriting(const GlobalOptions& options, std::ostream& err) {
    const auto path = checkedPath(options);
    if (!options.noBackup) {
        const BackupResult backup = backupExecutable(path);
        if (!backup.ok) {
            throw Refusal("无法备份文件到 " + backup.path.string() + "（" + backup.error +
                          "），没有写入任何内容。");
        }
        if (backup.created)
            err << "已备份原文件到 " << backup.path.string() << "\n";
    }
    return std::make_unique<FileStore>(path, FileStore::Mode::ReadWrite);
}

}  // namespace vorlan::cli
