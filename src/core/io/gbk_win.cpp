// GBK through the system's code page 936 (Windows has no iconv).
#include "io/gbk.h"
#include "io/win32.h"

namespace vorlan {

namespace {

constexpr UINT kGbk = 936;

// Whether the character starting at `at` is one of code page 936's, and how long it is.
std::size_t characterAt(std::string_view bytes, std::size_t at) {
    const auto b = static_cast<unsigned char>(bytes[at]);
    // 0x80 is the euro sign, alone, in both Microsoft's table and iconv's.
    if (b <= 0x80)
        return 1;
    if (b == 0xFF || at + 1 >= bytes.size())
        return 0;
    wchar_t out[2];
    return ::MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, bytes.data() + at, 2, out, 2) == 1 ? 2
                                                                                                : 0;
}

}  // namespace

std::optional<std::string> gbkToUtf8(std::string_view bytes, std::size_t& badAt,
                                     const std::string&) {
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t n = characterAt(bytes, at);
        if (n == 0) {
            badAt = at;
            return std::nullopt;
        }
        at += n;
    }
    if (bytes.empty())
        return std::string();
    const int size = static_cast<int>(bytes.size());
    std::wstring wide(bytes.size(), L'\0');
    const int n = ::MultiByteToWideChar(kGbk, 0, bytes.data(), size, wide.data(), size);
    wide.resize(static_cast<std::size_t>(n));
    return win32::utf8(wide);
}

}  // namespace vorlan
