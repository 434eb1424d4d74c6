#include "image/region_content.h"

#include <algorithm>

#include "document/executable_check.h"
#include "image/disc_image.h"

namespace vorlan {

std::optional<std::string> regionContentProblem(std::span<const std::uint8_t> bytes,
                                                const std::string& source) {
    if (bytes.size() != kImageExeLength) {
        return source + "的长度是 " + std::to_string(bytes.size()) + " 字节，必须正好 " +
               std::to_string(kImageExeLength) +
               " 字节：更长的会被截断，更短的会留下旧的字节，游戏都无法运行。";
    }
    ElfHeader header{};
    std::copy_n(bytes.begin(), header.size(), header.begin());
    return contentProblem(source, bytes.size(), header, kImageExeLength);
}

}  // namespace vorlan
