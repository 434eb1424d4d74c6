#include "io/gbk.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

#include "io/text_file.h"

namespace vorlan {

std::optional<std::string> gbkToUtf8(std::string_view bytes, std::size_t& badAt,
                                     const std::string& fileName) {
    iconv_t cd = iconv_open("UTF-8", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1))  // NOLINT(performance-no-int-to-ptr): iconv's error
        throw DataFileError("系统不支持 GBK 编码，无法读取文件：" + fileName);
    const std::unique_ptr<void, int (*)(iconv_t)> closer(cd, iconv_close);
    std::string in(bytes);
    std::string out;
    char* src = in.data();
    std::size_t srcLeft = in.size();
    std::string chunk(64 * 1024, '\0');
    while (srcLeft > 0) {
        char* dst = chunk.data();
        std::size_t dstLeft = chunk.size();
        const std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(chunk.data(), chunk.size() - dstLeft);
        // Running out of room only means another round; anything else is a bad byte.
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            badAt = static_cast<std::size_t>(src - in.data());
            return std::nullopt;
        }
    }
    return out;
}

}  // namespace vorlan
