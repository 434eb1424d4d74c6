#pragma once
// The program's Chinese texts are UTF-8 literals; u("…") makes the QString of one. A file
// name chosen in a dialog becomes a path through toPath, keeping every character; a path is
// shown through shownPath.

#include <QDir>
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

// In the system's own separators (C:\\游戏\\SLKV_618.04 on Windows), so that what the core
// says of a path shows it as the player knows it.
inline std::filesystem::path toPath(const QString& s) {
    return std::filesystem::path(s.toStdU16String()).make_preferred();
}

// A path as the player's system writes it: Qt's own form is with "/" everywhere.
inline QString shownPath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

}  // namespace vorlan
