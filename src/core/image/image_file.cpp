#include "image/image_file.h"
#include "io/path_text.h"

#include <cerrno>

namespace vorlan {

namespace {

std::filesystem::path resolve(const std::filesystem::path& given) {
    std::error_code ec;
    auto real = std::filesystem::canonical(given, ec);
    if (ec == std::errc::no_such_file_or_directory)
        throw ImageRefusal("找不到镜像文件：" + pathText(given));
    if (ec) {
        throw ImageRefusal("无法读取镜像文件：" + pathText(given) + "\n（" +
                           systemMessage(ec.value()) + "）");
    }
    return real;
}

// The real file, refused before it is opened when it is no regular file (a pipe would
// block, a device is no image).
std::filesystem::path regularFile(FileOps& ops, const std::filesystem::path& given) {
    auto real = resolve(given);
    FileStatus st;
    if (ops.lstat(real, st) != 0) {
        const int error = errno;
        if (error == ENOENT)
            throw ImageRefusal("找不到镜像文件：" + pathText(given));
        throw ImageRefusal("无法读取镜像文件：" + pathText(given) + "\n（" + systemMessage(error) +
                           "）");
    }
    if (!st.regular())
        throw ImageRefusal("镜像路径指向的不是一个普通文件：" + pathText(given));
    return real;
}

PosixFile openImage(FileOps& ops, const std::filesystem::path& real,
                    const std::filesystem::path& given, bool write) {
    try {
        return PosixFile(ops, real, write ? PosixFile::Mode::ReadWrite : PosixFile::Mode::Read,
                         PosixFile::Links::Refuse);
    } catch (const IoError& e) {
        if (real != given)
            throw ImageRefusal(std::string(e.what()) + "\n（镜像文件：" + pathText(given) + "）");
        throw ImageRefusal(e.what());
    }
}

}  // namespace

ImageFile::ImageFile(FileOps& ops, const std::filesystem::path& given, bool write)
    : ops_(ops),
      given_(given),
      real_(regularFile(ops, given)),
      file_(openImage(ops, real_, given, write)) {
    try {
        identity_ = file_.identity();
    } catch (const IoError& e) {
        throw ImageRefusal(e.what());
    }
    if (!identity_.regular || !stillSame()) {
        throw ImageRefusal("镜像文件在打开的同时被移动或替换，没有使用它：" + pathText(given));
    }
}

void ImageFile::lock(bool exclusive) {
    bool locked = false;
    try {
        locked = file_.lock(exclusive, std::chrono::seconds(5));
    } catch (const IoError& e) {
        throw ImageRefusal(e.what());
    }
    if (!locked)
        throw ImageRefusal("另一个程序正在使用镜像文件：" + pathText(given_));
}

bool ImageFile::stillSame() {
    // The name is looked at last, right before the caller goes on to write.
    FileStatus held;
    if (ops_.fstat(file_.fd(), held) != 0 || held.identity().size != identity_.size)
        return false;
    FileStatus st;
    if (ops_.lstat(real_, st) != 0)
        return false;
    const FileIdentity named = st.identity();
    return named.regular && named.device == identity_.device && named.inode == identity_.inode &&
           named.size == identity_.size;
}

}  // namespace vorlan
