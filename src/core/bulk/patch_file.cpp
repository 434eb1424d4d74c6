#include "bulk/patch_file.h"

#include <cerrno>

#include "bulk/patch_error.h"
#include "io/path_text.h"
#include "io/posix_file.h"

namespace vorlan {

std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path, std::uint64_t maxBytes,
                                        const std::string& what) {
    const std::string name = pathText(path);
    FileStatus st;
    if (systemFileOps().stat(path, st) != 0)
        throw PatchError("找不到或无法读取" + what + "：" + name + "（" + systemMessage(errno) +
                         "）");
    if (!st.regular())
        throw PatchError(what + "不是一个普通文件（可能是文件夹或设备）：" + name);
    if (st.size > maxBytes)
        throw PatchError(what + "太大（" + std::to_string(st.size) + " 字节，最多 " +
                         std::to_string(maxBytes) + " 字节）：" + name);
    try {
        // Opened without waiting and checked again: a file swapped for a pipe in between
        // must not hang the program.
        PosixFile file(systemFileOps(), path, PosixFile::Mode::Read);
        const FileIdentity id = file.identity();
        if (!id.regular || id.size > maxBytes)
            throw PatchError(what + "在读取时被换成了其他东西：" + name);
        return file.readAt(0, static_cast<std::size_t>(id.size));
    } catch (const IoError& e) {
        throw PatchError("读取" + what + "失败：" + e.what());
    }
}

}  // namespace vorlan
