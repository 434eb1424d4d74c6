#include "document/backup.h"

#include <cerrno>

#include "io/path_text.h"
#include "io/system_facts.h"

namespace vorlan {

namespace {

// "1.7 MB": a size as a file manager shows it, rounded up, since it is the room to free.
std::string sizeText(std::uint64_t bytes) {
    constexpr std::uint64_t kKb = 1024;
    if (bytes < kKb)
        return std::to_string(bytes) + " 字节";
    const std::uint64_t unit = bytes < kKb * kKb ? kKb : kKb * kKb;
    const std::uint64_t tenths = (bytes * 10 + unit - 1) / unit;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) +
           (unit == kKb ? " KB" : " MB");
}

}  // namespace

std::filesystem::path backupPath(const std::filesystem::path& exe) {
    auto p = exe;
    p += ".bak";
    return p;
}

std::filesystem::path datedBackupPath(const std::filesystem::path& exe) {
    auto p = exe;
    p += "." + localTimeText("%Y%m%d-%H%M%S") + ".bak";
    return p;
}

std::vector<std::uint8_t> readTrustedBackup(FileOps& ops, const std::filesystem::path& path,
                                            const FileIdentity& exe) {
    SideFile side = openSideFile(ops, path, &exe);
    switch (side.state) {
        case SideFile::State::Missing:
            throw IoError("找不到备份文件：" + pathText(path), ENOENT);
        case SideFile::State::Refused:
            throw IoError("不能当作备份：" + side.problem, EPERM);
        case SideFile::State::Trusted:
            break;
    }
    if (side.size != exe.size) {
        throw IoError("备份文件 " + pathText(path) + " 的长度（" + std::to_string(side.size) +
                          " 字节）与游戏主程序（" + std::to_string(exe.size) +
                          " 字节）不同，不能当作备份。",
                      EPERM);
    }
    return side.file->readAt(0, static_cast<std::size_t>(side.size));
}

BackupCheck ensureBackup(FileOps& ops, PosixFile& exe, const std::filesystem::path& target) {
    BackupCheck check;
    check.path = target;
    const FileIdentity exeId = exe.identity();
    const std::uint64_t size = exeId.size;
    FileStatus st;
    if (ops.lstat(target, st) == 0) {
        if (auto problem = sideFileProblem(target, st, &exeId)) {
            check.kind = BackupCheck::Kind::Untrusted;
            check.message = "不能当作备份：" + *problem;
        } else if (st.size != size) {
            check.kind = BackupCheck::Kind::Untrusted;
            check.message = "备份文件 " + pathText(target.filename()) + " 的长度（" +
                            std::to_string(st.size) + " 字节）与游戏主程序（" +
                            std::to_string(size) +
                            " 字节）不同，可能是一次没有完成的复制，不能当作备份。";
        } else {
            check.kind = BackupCheck::Kind::Existing;
        }
        return check;
    }
    try {
        createNewFile(ops, target, exe.readAt(0, static_cast<std::size_t>(size)));
    } catch (const IoError& e) {
        // The copy's own file is gone again: a full disk is said as what it is.
        if (e.error() == ENOSPC) {
            check.kind = BackupCheck::Kind::DiskFull;
            check.message = "磁盘空间不足，无法在文件夹 " + pathText(target.parent_path()) +
                            " 中建立备份 " + pathText(target.filename()) + "：备份需要 " +
                            sizeText(size) +
                            " 的空间。游戏主程序没有任何改动。请先腾出空间，然后再试。";
        } else {
            check.kind = BackupCheck::Kind::Failed;
            check.message = e.what();
        }
        return check;
    }
    check.kind = BackupCheck::Kind::Made;
    return check;
}

}  // namespace vorlan
