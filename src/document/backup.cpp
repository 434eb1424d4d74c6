#include "document/backup.h"

#include <cerrno>
#include <ctime>

namespace vorlan {

namespace {

std::string fileName(const std::filesystem::path& p) {
    return p.filename().string();
}

// Gives the finished copy its name without ever replacing a file of that name.
void name(FileOps& ops, const std::filesystem::path& tmp, const std::filesystem::path& target) {
    if (ops.link(tmp.c_str(), target.c_str()) == 0) {
        ops.unlink(tmp.c_str());
        return;
    }
    const int error = errno;
    if (error == EEXIST)
        throw IoError("该位置已有同名文件，没有覆盖它：" + target.string(), error);
    // File systems without hard links (FAT on a USB stick): the executable's lock keeps
    // every writer of this program away, so checking first and renaming is safe here.
    struct stat st {};
    if (ops.lstat(target.c_str(), &st) == 0)
        throw IoError("该位置已有同名文件，没有覆盖它：" + target.string(), EEXIST);
    if (ops.rename(tmp.c_str(), target.c_str()) != 0) {
        throw IoError("无法建立文件：" + target.string() + "\n（" + systemMessage(errno) + "）",
                      errno);
    }
}

}  // namespace

void createNewFile(FileOps& ops, const std::filesystem::path& target,
                   std::span<const std::uint8_t> bytes) {
    auto tmp = target;
    tmp += ".partial";
    try {
        PosixFile out(ops, tmp, PosixFile::Mode::Create);
        constexpr std::size_t kChunk = 1 << 20;  // a few writes for a large file
        for (std::size_t at = 0; at < bytes.size(); at += kChunk)
            out.writeAt(at, bytes.subspan(at, std::min(kChunk, bytes.size() - at)));
        out.sync();
        if (out.identity().size != bytes.size())
            throw IoError("写入的文件长度不对：" + tmp.string(), EIO);
        out.close();
        name(ops, tmp, target);
        syncFolderOf(ops, target);
    } catch (const IoError&) {
        // The temporary file is this program's own; the target's name was never given to it.
        ops.unlink(tmp.c_str());
        throw;
    }
}

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
    try {
        createNewFile(ops, target, exe.readAt(0, static_cast<std::size_t>(size)));
    } catch (const IoError& e) {
        check.kind = BackupCheck::Kind::Failed;
        check.message = e.what();
        return check;
    }
    check.kind = BackupCheck::Kind::Made;
    return check;
}

}  // namespace vorlan
