#include "image/restore_command.h"

#include <vector>

#include "io/path_text.h"
#include "io/system_facts.h"

namespace vorlan {

std::string restoreCommand(const std::filesystem::path& image, Shell shell,
                           const std::filesystem::path& from, bool trustForeign) {
    std::vector<std::string> words{"vorlan-cli", "iso", "restore", pathText(image)};
    std::string form = "vorlan-cli iso restore 镜像";
    if (!from.empty()) {
        words.insert(words.end(), {"--from", pathText(from)});
        form += " --from 文件";
    }
    if (trustForeign) {
        words.emplace_back("--trust-foreign");
        form += " --trust-foreign";
    }
    if (const auto line = shellCommand(words, shell))
        return *line;
    return form + "\n（名字里有不能安全地粘贴进命令行的字符，这里没有写出完整的命令，请自己填上" +
           (from.empty() ? "镜像的名字）" : "镜像和文件的名字）");
}

std::string restoreCommand(const std::filesystem::path& image, const std::filesystem::path& from,
                           bool trustForeign) {
    return restoreCommand(image, commandShell(), from, trustForeign);
}

}  // namespace vorlan
