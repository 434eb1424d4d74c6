#include "document/executable_check.h"

#include "access/byte_order.h"

namespace vorlan {

std::optional<std::string> contentProblem(const std::filesystem::path& path, std::uint64_t size,
                                          const ElfHeader& header, std::uint64_t minimumSize) {
    const std::string name = path.string();
    if (size < minimumSize || size < header.size()) {
        return "文件太小，不是完整的游戏主程序：\n" + name + "\n文件只有 " + std::to_string(size) +
               " 字节，至少需要 " + std::to_string(minimumSize) + " 字节。";
    }
    if (header[0] != 0x7F || header[1] != 'E' || header[2] != 'L' || header[3] != 'F')
        return "该文件不是 ELF 可执行文件（开头不是 7F 45 4C 46），不是游戏主程序：\n" + name;
    // e_ident: class 1 = 32-bit, data 1 = little-endian; e_machine 8 = MIPS.
    const unsigned machine = loadLe<std::uint16_t>(std::span(header).subspan(18));
    if (header[4] != 1 || header[5] != 1 || machine != 8) {
        return "该文件是 ELF 文件，但不是 PlayStation 2 的程序（32 位小端 "
               "MIPS），不是游戏主程序：\n" +
               name;
    }
    return std::nullopt;
}

}  // namespace vorlan
