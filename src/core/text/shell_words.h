#pragma once
// Command lines the program suggests for the player to paste (a restore with --trust-foreign
// naming the image and a saved file): every word written so that the shell hands it to
// vorlan-cli unchanged and runs nothing else. A word that no quoting makes safe is not put in
// a command at all: the caller shows the command's form instead.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlan {

enum class Shell {
    Posix,  // sh, bash, zsh: single quotes, an embedded ' written '\''
    Cmd,    // the Command Prompt, and PowerShell pasted the same line: double quotes
};

// `word` as `shell` must be given it: bare when it is letters, digits and "_./:=+-" only, else
// quoted. Nothing when it cannot be pasted: it holds a tab or a character a terminal shows as a
// code (shown_text.h), which would be pasted as that code; and for Cmd, a character read inside
// double quotes: " % ! (the Command Prompt's quotes and variables), $ ` and the curly quotes
// U+2018 … U+201E (PowerShell's variables, escapes and quotes). Windows names cannot hold "
// anyway; a name with % or $ is rare enough that typing it is the better answer.
std::optional<std::string> shellWord(std::string_view word, Shell shell);

// The words as one command line, or nothing when one of them cannot be pasted.
std::optional<std::string> shellCommand(const std::vector<std::string>& words, Shell shell);

}  // namespace vorlan
