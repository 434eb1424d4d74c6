#include "table_files.h"

#include "document/backup.h"
#include "document/kept_files.h"
#include "image/executable_extract.h"
#include "io/output_file.h"
#include "io/path_text.h"
#include "tables/catalog.h"

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
                      std::to_string(size) + " 字节），不能逐字段比较：\n" + pathText(path));
    }
    return wholeFile(*other);
}

std::vector<std::uint8_t> backupBytes(Document& document, const std::string& missing) {
    const std::filesystem::path path = backupPath(document.path());
    try {
        return readTrustedBackup(systemFileOps(), path, document.identity());
    } catch (const IoError& e) {
        throw Refusal(e.error() == ENOENT ? missing : std::string(e.what()));
    }
}

void writeOutput(const std::filesystem::path& exe, const std::filesystem::path& path,
                 std::span<const std::uint8_t> bytes, bool overwrite, const std::string& what,
                 const char* flag, bool folderHeld) {
    try {
        KeptFiles kept = keptFilesOf(exe);
        kept.add(keptBesideImages());
        if (folderHeld)
            writeOutputFile(systemFileOps(), path, bytes, overwrite, kept);
        else
            writeLoneOutputFile(systemFileOps(), path, bytes, overwrite, kept);
    } catch (const IoError& e) {
        throw Refusal("无法写入" + what + "：" + e.what() +
                      (e.error() == EEXIST ? std::string("\n要覆盖它，请加 ") + flag + "。" : ""));
    }
}

void writeOutput(const std::filesystem::path& exe, const std::filesystem::path& path,
                 const std::string& text, bool overwrite, bool folderHeld) {
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    writeOutput(exe, path, bytes, overwrite, "文件", "--overwrite", folderHeld);
}

}  // namespace vorlan::cli
