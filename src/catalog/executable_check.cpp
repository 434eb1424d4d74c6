#include "catalog/executable_check.h"

#include <array>

#include "access/byte_store.h"
#include "catalog/catalog.h"

namespace vorlan {

std::optional<std::string> checkExecutable(const std::filesystem::path& path) {
    const std::string name = path.string();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return "找不到文件，或它不是一个普通文件：\n" + name;
    }
    try {
        FileStore file(path, FileStore::Mode::ReadWrite);
        if (file.size() < tablesEnd()) {
            return "文件太小，不是完整的游戏主程序：\n" + name + "\n文件只有 " +
                   std::to_string(file.size()) + " 字节，至少需要 " + std::to_string(tablesEnd()) +
                   " 字节。";
        }
        std::array<std::uint8_t, 4> magic{};
        file.read(0, magic);
        if (magic != std::array<std::uint8_t, 4>{0x7F, 0x45, 0x4C, 0x46}) {
            return "该文件不是 ELF 可执行文件（开头不是 7F 45 4C 46），不是游戏主程序：\n" + name;
        }
    } catch (const AccessError&) {
        return "无法以读写方式打开文件：\n" + name +
               "\n请确认文件没有设为只读，也没有被其他程序占用。";
    }
    return std::nullopt;
}

}  // namespace vorlan
