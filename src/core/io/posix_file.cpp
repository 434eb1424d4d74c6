#include "io/posix_file.h"
#include "io/path_text.h"

#include <cerrno>
#include <cstring>
#include <thread>

namespace vorlan {

namespace {

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& path, int error) {
    throw IoError(what + "：" + pathText(path) + "\n（" + systemMessage(error) + "）", error);
}

}  // namespace

std::string systemMessage(int error) {
    switch (error) {
        case ENOSPC:
            return "磁盘空间不足";
#ifdef EDQUOT
        case EDQUOT:
            return "超出磁盘配额";
#endif
        case EACCES:
        case EPERM:
            return "没有权限";
        case EROFS:
            return "文件系统是只读的";
        case ENOENT:
            return "文件不存在";
        case ELOOP:
            return "路径的最后一部分是符号链接，为了安全没有跟随它";
        case EEXIST:
            return "该位置已有同名文件";
        case EIO:
            return "输入输出错误";
        case EBUSY:
        case ETXTBSY:
            return "另一个程序正在使用这个文件，请关闭那个程序后再试";
        case ENOTDIR:
            return "路径中有一部分不是文件夹";
        default:
            return std::strerror(error);
    }
}

PosixFile::PosixFile(FileOps& ops, const std::filesystem::path& path, Mode mode, Links links)
    : ops_(&ops), path_(path) {
    const OpenMode how = mode == Mode::Read        ? OpenMode::Read
                         : mode == Mode::ReadWrite ? OpenMode::ReadWrite
                         : mode == Mode::CreateNew ? OpenMode::CreateNew
                                                   : OpenMode::CreatePrivate;
    fd_ = ops_->open(path, how, links == Links::Follow);
    if (fd_ < 0) {
        const int error = errno;
        fail(mode == Mode::Read ? "无法打开文件" : "无法以读写方式打开文件", path, error);
    }
}

PosixFile::~PosixFile() {
    if (fd_ >= 0)
        ops_->close(fd_);
}

PosixFile::PosixFile(PosixFile&& other) noexcept
    : ops_(other.ops_), path_(std::move(other.path_)), fd_(other.fd_) {
    other.fd_ = -1;
}

void PosixFile::readAt(std::uint64_t offset, std::span<std::uint8_t> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        const std::ptrdiff_t n =
            ops_->pread(fd_, out.data() + done, out.size() - done, offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail("读取文件失败", path_, errno);
        if (n == 0) {
            throw IoError("读取文件失败：" + pathText(path_) + "\n（文件在偏移 " +
                              std::to_string(offset + done) + " 处提前结束）",
                          0);
        }
        done += static_cast<std::size_t>(n);
    }
}

std::vector<std::uint8_t> PosixFile::readAt(std::uint64_t offset, std::size_t count) {
    std::vector<std::uint8_t> out(count);
    readAt(offset, out);
    return out;
}

void PosixFile::writeAt(std::uint64_t offset, std::span<const std::uint8_t> in) {
    std::size_t done = 0;
    while (done < in.size()) {
        const std::ptrdiff_t n =
            ops_->pwrite(fd_, in.data() + done, in.size() - done, offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail("写入文件失败", path_, errno);
        if (n == 0)
            fail("写入文件失败", path_, EIO);
        done += static_cast<std::size_t>(n);
    }
}

void PosixFile::sync() {
    if (ops_->fsync(fd_) != 0)
        fail("无法把写入的内容保存到磁盘", path_, errno);
}

FileIdentity PosixFile::identity() {
    return status().identity();
}

FileStatus PosixFile::status() {
    FileStatus st;
    if (ops_->fstat(fd_, st) != 0)
        fail("无法读取文件信息", path_, errno);
    return st;
}

bool PosixFile::lock(bool exclusive, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (ops_->lock(fd_, exclusive) == 0)
            return true;
        const int error = errno;
        if (error == EINTR)
            continue;
        if (error != EWOULDBLOCK)
            fail("无法锁定文件", path_, error);
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void PosixFile::close() {
    if (fd_ < 0)
        return;
    const int fd = fd_;
    fd_ = -1;
    if (ops_->close(fd) != 0 && errno != EINTR)
        fail("关闭文件失败", path_, errno);
}

void syncFolderOf(FileOps& ops, const std::filesystem::path& path) {
    auto folder = path.parent_path();
    if (folder.empty())
        folder = ".";
    const int fd = ops.open(folder, OpenMode::Folder, true);
    if (fd < 0)
        return;  // some file systems cannot open folders; the file's own flush still holds
    const int rc = ops.fsync(fd);
    const int error = errno;
    ops.close(fd);
    // Folders on some file systems refuse fsync; only a real I/O error matters.
    if (rc != 0 && error == EIO)
        fail("无法把文件夹的改动保存到磁盘", folder, error);
}

}  // namespace vorlan
