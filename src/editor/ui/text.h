#pragma once
// The program's Chinese texts are UTF-8 literals; u("…") makes the QString of one.

#include <QString>
#include <string>

namespace vorlan {

inline QString u(const char* s) {
    return QString::fromUtf8(s);
}

inline QString u(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace vorlan
