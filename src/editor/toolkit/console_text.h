#pragma once
// What the editor prints to a terminal (help, a usage error, messages when it has no window):
// text from the command line or a file may hold control characters, shown as "\xNN" so that
// nothing can move the cursor or retitle the terminal.

#include <QString>
#include <cstdio>

namespace vorlan {

// Prints `text` and a line end to `to`, controls shown as codes.
void printEscaped(std::FILE* to, const QString& text);

}  // namespace vorlan
