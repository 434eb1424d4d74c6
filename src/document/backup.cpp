#include "document/backup.h"

#include <cerrno>
#include <ctime>

namespace vorlan {

namespace {

std::string fileName(const std::filesystem::path& p) {
    return p.filename().string();
}

// Copies the executable into `tmp` and flushes it.
void copyInto(FileOps& ops, PosixFile& exe, std::uint64_t size, const std::filesystem::path& tmp) {
    PosixFile out(ops, tmp, PosixFile::Mode::Create);
    std::vector<std::uint8_t> chunk(1 << 20);
    for (std::uint64_t at = 0; at < size;) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), size - at));
        exe.readAt(at, std::span(chunk.data(), n));
        out.writeAt(at, std::span<const std::uint8_t>(chunk.data(), n));
        at += n;
    }
    out.sync();
    if (out.identity().size != size)
        throw IoError("备份文件的长度与游戏主程序不一致：" + tmp.string(), EIO);
    out.close();
}

// Gives the finished copy its name without ever replacing a file of that name.
void name(FileOps& ops, const std::filesystem::path& tmp, const std::filesystem::path& target) {
    if (ops.link(tmp.c_str(), target.c_str()) == 0) {
        ops.unlink(tmp.c_str());
        return;
    }
    const int error = errno;
    if (error == EEXIST)
        throw IoError("备份文件已被其他程序建立：" + target.string(), error);
    // File systems without hard links (FAT on a USB stick): the executable's lock keeps
    // every writer of this program away, so checking first and renaming is safe here.
    struct stat st {};
    if (ops.lstat(target.c_str(), &st) == 0)
        throw IoError("备份文件已被其他程序建立：" + target.string(), EEXIST);
    if (ops.rename(tmp.c_str(), target.c_str()) != 0) {
        throw IoError("无法建立备份文件：" + target.string() + "\n（" + systemMessage(errno) + "）",
                      errno);
    }
}

}  // namespace

std::filesystem::path backupPath(const std::filesystem::path& exe) {
    auto p = exe;
    p += ".bak";
    return p;
}

std::filesystem::path datedBackupPath(const std::filesystem::path& exe) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, ".%Y%m%d-%H%M%S.bak", &local);
    auto p = exe;
    p += stamp;
    return p;
}

BackupCheck ensureBackup(FileOps& ops, PosixFile& exe, const std::filesystem::path& target) {
    BackupCheck check;
    check.path = target;
    const std::uint64_t size = exe.identity().size;
    struct stat st {};
    if (ops.lstat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            check.kind = BackupCheck::Kind::Untrusted;
            check.message =
                "备份文件的位置上是其他东西（文件夹或链接），不是备份：" + target.string();
        } else if (static_cast<std::uint64_t>(st.st_size) != size) {
            check.kind = BackupCheck::Kind::Untrusted;
            check.message = "备份文件 " + fileName(target) + " 的长度（" +
                            std::to_string(st.st_size) + " 字节）与游戏主程序（" +
                            std::to_string(size) +
                            " 字节）不同，可能是一次没有完成的复制，不能当作备份。";
        } else {
            check.kind = BackupCheck::Kind::Existing;
        }
        return check;
    }
    auto tmp = target;
    tmp += ".partial";
    try {
        copyInto(ops, exe, size, tmp);
        name(ops, tmp, target);
        syncFolderOf(ops, target);
    } catch (const IoError& e) {
        // The temporary copy is this program's own; the backup's name was never given to it.
        ops.unlink(tmp.c_str());
        check.kind = BackupCheck::Kind::Failed;
        check.message = e.what();
        return check;
    }
    check.kind = BackupCheck::Kind::Made;
    return check;
}

}  // namespace vorlan
