#include "catalog/executable_check.h"

#include "catalog/catalog.h"

namespace vorlan {

std::optional<std::string> contentProblem(const std::filesystem::path& path, std::uint64_t size,
                                          const std::array<std::uint8_t, 4>& magic) {
    const std::string name = path.string();
    if (size < tablesEnd()) {
        return "文件太小，不是完整的游戏主程序：\n" + name + "\n文件只有 " + std::to_string(size) +
               " 字节，至少需要 " + std::to_string(tablesEnd()) + " 字节。";
    }
    if (magic != std::array<std::uint8_t, 4>{0x7F, 0x45, 0x4C, 0x46})
        return "该文件不是 ELF 可执行文件（开头不是 7F 45 4C 46），不是游戏主程序：\n" + name;
    return std::nullopt;
}

}  // namespace vorlan
