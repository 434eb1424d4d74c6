#pragma once
// The program's Chinese texts are UTF-8 literals; u("…") makes the QString of one. A file
// name chosen in a dialog becomes a path through toPath, keeping every character.

#include <QString>
#include <filesystem>
#include <string>

namespace vorlan {

inline QString u(const char* s) {
    return QString::fromUtf8(s);
}

inline QString u(const std::string& s) {
    return QString::fromStdString(s);
}

inline std::filesystem::path toPath(const QString& s) {
    return std::filesystem::path(s.toStdU16String());
}

}  // namespace vorlan
