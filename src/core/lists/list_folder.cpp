#include "lists/list_folder.h"

#include <system_error>

#include "io/path_text.h"
#include "lists/char_file.h"
#include "lists/name_lists.h"

namespace vorlan {

namespace {

bool present(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::symlink_status(path, ec).type() !=
           std::filesystem::file_type::not_found;
}

}  // namespace

std::filesystem::path ListFolder::holding(const std::string& name) const {
    if (fallback.empty() || present(folder / name))
        return folder;
    return fallback;
}

std::string ListFolder::missingList(bool charsChosen) const {
    for (const ListFile& list : {kUnitList, kPilotList, kCharList, kSkillList}) {
        std::string name = list.name;
        if (present(holding(name) / name))
            continue;
        if (name == kCharList.name &&
            (charsChosen || present(holding(kCharTblName) / kCharTblName)))
            continue;
        return name;
    }
    return {};
}

std::string ListFolder::shown() const {
    if (fallback.empty())
        return pathText(folder);
    return pathText(folder) + "（其中没有的列表取自 " + pathText(fallback) + "）";
}

std::string missingListMessage(const ListFolder& lists, const std::string& file) {
    std::error_code ec;
    if (!std::filesystem::is_directory(lists.folder, ec))
        return "名称列表文件夹 " + pathText(lists.folder) + " 不存在，或者不是文件夹。";
    return "名称列表文件夹 " + lists.shown() + " 中没有 " + file +
           "。\n名称列表需要 unit.txt、pilot.txt、string.txt（或 string.tbl）和 jn.txt 四个文件。";
}

}  // namespace vorlan
