#include "access/byte_store.h"

#include <algorithm>
#include <string>

namespace vorlan {

namespace {

void checkRange(std::uint64_t offset, std::size_t count, std::uint64_t size) {
    if (offset > size || count > size - offset) {
        throw AccessError("位置超出文件范围：偏移 " + std::to_string(offset) + "，长度 " +
                          std::to_string(count) + "，文件大小 " + std::to_string(size));
    }
}

}  // namespace

std::vector<std::uint8_t> ByteStore::readBlock(std::uint64_t offset, std::size_t count) {
    std::vector<std::uint8_t> out(count);
    read(offset, out);
    return out;
}

void MemoryStore::read(std::uint64_t offset, std::span<std::uint8_t> out) {
    checkRange(offset, out.size(), bytes_.size());
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
}

void MemoryStore::write(std::uint64_t offset, std::span<const std::uint8_t> in) {
    checkRange(offset, in.size(), bytes_.size());
    std::copy(in.begin(), in.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
}

FileStore::FileStore(const std::filesystem::path& path, Mode mode) : mode_(mode) {
    auto flags = std::ios::binary | std::ios::in;
    if (mode == Mode::ReadWrite) {
        flags |= std::ios::out;  // in|out never truncates or creates
    }
    file_.open(path, flags);
    if (!file_.is_open()) {
        throw AccessError(mode == Mode::ReadWrite ? "无法以读写方式打开文件：" + path.string()
                                                  : "无法打开文件：" + path.string());
    }
    file_.seekg(0, std::ios::end);
    const auto end = file_.tellg();
    if (end < 0) {
        throw AccessError("无法读取文件大小：" + path.string());
    }
    size_ = static_cast<std::uint64_t>(end);
}

void FileStore::read(std::uint64_t offset, std::span<std::uint8_t> out) {
    checkRange(offset, out.size(), size_);
    file_.clear();
    file_.seekg(static_cast<std::streamoff>(offset));
    file_.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!file_ || file_.gcount() != static_cast<std::streamsize>(out.size())) {
        throw AccessError("读取文件失败，偏移 " + std::to_string(offset));
    }
}

void FileStore::write(std::uint64_t offset, std::span<const std::uint8_t> in) {
    if (mode_ != Mode::ReadWrite) {
        throw AccessError("文件以只读方式打开，不能写入");
    }
    checkRange(offset, in.size(), size_);
    file_.clear();
    file_.seekp(static_cast<std::streamoff>(offset));
    file_.write(reinterpret_cast<const char*>(in.data()), static_cast<std::streamsize>(in.size()));
    file_.flush();
    if (!file_) {
        throw AccessError("写入文件失败，偏移 " + std::to_string(offset));
    }
}

}  // namespace vorlan
