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

std::vector<std::uint8_t> ByteStore::readBlock(std::uint64_t offset, std::size_t count) const {
    std::vector<std::uint8_t> out(count);
    read(offset, out);
    return out;
}

void ByteStore::read(std::uint64_t offset, std::span<std::uint8_t> out) const {
    checkRange(offset, out.size(), bytes_.size());
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
}

void ByteStore::write(std::uint64_t offset, std::span<const std::uint8_t> in) {
    checkRange(offset, in.size(), bytes_.size());
    std::copy(in.begin(), in.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace vorlan
