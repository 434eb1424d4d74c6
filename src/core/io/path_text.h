#pragma once
// Paths as the program's text, which is UTF-8 on every system. On Linux a path is its bytes;
// on Windows it is UTF-16, and the standard library would read and write a narrow string in
// the ANSI code page, which cannot name a folder such as C:\Users\张三. Every path that
// becomes text (a message, a report) and every text that becomes a path (an argument, a
// name typed in a dialog) goes through these two.

#include <filesystem>
#include <string>
#include <string_view>

namespace vorlan {

inline std::string pathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

inline std::filesystem::path textPath(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace vorlan
