#include "cli/table_files.h"

#include "catalog/catalog.h"
#include "io/new_file.h"

namespace vorlan::cli {

std::vector<std::uint8_t> wholeFile(Document& document) {
    return document.read(0, static_cast<std::size_t>(document.size()));
}

std::vector<std::uint8_t> otherExecutable(const std::filesystem::path& path, std::uint64_t size) {
    DocumentOptions open;
    open.readOnly = true;
    open.allowUnusualSize = true;
    std::unique_ptr<Document> other;
    try {
        other = Document::open(path, tableLayout(), open);
    } catch (const DocumentError& e) {
        throw Refusal(std::string(e.what()));
    }
    if (other->size() != size) {
        throw Refusal("两个文件的长度不同（" + std::to_string(other->size()) + " 和 " +
                      std::to_string(size) + " 字节），不能逐字段比较：\n" + path.string());
    }
    return wholeFile(*other);
}

void writeOutput(const std::filesystem::path& path, const std::string& text, bool overwrite) {
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    try {
        std::error_code ec;
        if (overwrite && std::filesystem::exists(std::filesystem::symlink_status(path, ec)))
            replaceFile(systemFileOps(), path, bytes);
        else
            createNewFile(systemFileOps(), path, bytes);
    } catch (const IoError& e) {
        throw Refusal(std::string("无法写入文件：") + e.what() +
                      (e.error() == EEXIST ? "\n要覆盖它，请加 --overwrite。" : ""));
    }
}

}  // namespace vorlan::cli
