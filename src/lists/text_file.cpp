#include "lists/text_file.h"

#include <iconv.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <memory>

#include "text/utf8.h"

namespace vorlan {

namespace {

std::string gbkToUtf8(std::string_view bytes, const std::string& fileName) {
    iconv_t cd = iconv_open("UTF-8", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        throw DataFileError("系统不支持 GBK 编码，无法读取文件：" + fileName);
    }
    const std::unique_ptr<void, int (*)(iconv_t)> closer(cd, iconv_close);
    std::string in(bytes);
    std::string out(in.size() * 2 + 16, '\0');
    char* src = in.data();
    std::size_t srcLeft = in.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1)) {
        throw DataFileError("文件既不是 UTF-8 也不是 GBK 编码的文本：" + fileName);
    }
    out.resize(out.size() - dstLeft);
    return out;
}

}  // namespace

std::string decodeText(std::string_view bytes, const std::string& fileName) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    if (utf8::isValid(bytes))
        return std::string(bytes);
    return gbkToUtf8(bytes, fileName);
}

std::string readTextFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw DataFileError("找不到或无法读取文件：" + path.string());
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        throw DataFileError("读取文件失败：" + path.string());
    }
    return decodeText(bytes, path.string());
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
