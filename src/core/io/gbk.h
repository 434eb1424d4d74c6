#pragma once
// GBK (code page 936), the encoding in which players keep their lists, to UTF-8: through
// iconv on Linux, MultiByteToWideChar on Windows.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vorlan {

// The text in UTF-8, or nothing with `badAt` the offset of the first byte that is no GBK
// character. Throws DataFileError naming `fileName` when the system cannot convert at all.
std::optional<std::string> gbkToUtf8(std::string_view bytes, std::size_t& badAt,
                                     const std::string& fileName);

}  // namespace vorlan
