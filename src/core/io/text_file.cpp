#include "io/text_file.h"

#include "io/gbk.h"
#include "io/path_text.h"
#include "io/posix_file.h"
#include "text/utf8.h"

namespace vorlan {

namespace {

// "第 3 行第 7 个字节": where byte `at` stands in the text.
std::string position(std::string_view bytes, std::size_t at) {
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t i = 0; i < at && i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return "第 " + std::to_string(line) + " 行第 " + std::to_string(column) + " 个字节";
}

}  // namespace

std::string decodeText(std::string_view bytes, const std::string& fileName) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    const utf8::Scan scan = utf8::scan(bytes);
    if (scan.bad == 0)
        return std::string(bytes);
    // Mostly UTF-8 with a few bad bytes: the file is broken, and read as GBK every name
    // would turn to nonsense, so it is refused with the place to mend.
    if (scan.multibyte > 0 && scan.bad * 4 < scan.multibyte) {
        throw DataFileError("文件是 UTF-8 编码，但" + position(bytes, scan.firstBad) +
                            "不是有效的 UTF-8（可能混入了其他编码的字符），请改正后再试：" +
                            fileName);
    }
    std::size_t badAt = 0;
    if (auto text = gbkToUtf8(bytes, badAt, fileName))
        return *text;
    throw DataFileError("文件既不是 UTF-8 也不是 GBK 编码的文本（" + position(bytes, badAt) +
                        "无法识别）：" + fileName);
}

std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path, std::uint64_t maxBytes,
                                        const std::string& what) {
    const std::string name = pathText(path);
    FileStatus st;
    if (systemFileOps().stat(path, st) != 0) {
        throw DataFileError("找不到或无法读取" + what + "：" + name + "（" + systemMessage(errno) +
                            "）");
    }
    if (!st.regular())
        throw DataFileError(what + "不是一个普通文件（可能是文件夹或设备），无法读取：" + name);
    if (st.size > maxBytes) {
        throw DataFileError(what + "太大（" + std::to_string(st.size) + " 字节，最多 " +
                            std::to_string(maxBytes) + " 字节），不像是这个程序要读的文件：" +
                            name);
    }
    try {
        // Opened without waiting, and checked again: a file swapped for a pipe in between
        // must not hang the program.
        PosixFile file(systemFileOps(), path, PosixFile::Mode::Read);
        const FileIdentity id = file.identity();
        if (!id.regular || id.size > maxBytes)
            throw DataFileError(what + "在读取时被换成了其他东西，无法读取：" + name);
        return file.readAt(0, static_cast<std::size_t>(id.size));
    } catch (const IoError& e) {
        throw DataFileError("读取" + what + "失败：" + e.what());
    }
}

std::string readTextFile(const std::filesystem::path& path, std::uint64_t maxBytes) {
    const auto bytes = readWholeFile(path, maxBytes, "文件");
    return decodeText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                      pathText(path));
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

}  // namespace vorlan
