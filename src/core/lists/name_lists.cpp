#include "lists/name_lists.h"

#include "io/path_text.h"
#include "lists/char_file.h"
#include "lists/list_entries.h"
#include "text/shown_text.h"

namespace vorlan {

std::vector<std::string> readListFile(const ListFolder& lists, const ListFile& list) {
    const std::filesystem::path path = lists.holding(list.name) / list.name;
    const std::string need = "（需要 " + std::to_string(list.count) + " 项）";
    std::string text;
    try {
        text = readTextFile(path);
    } catch (const DataFileError& e) {
        throw DataFileError(std::string(e.what()) + need);
    }
    if (const std::size_t line = loneCarriageReturnLine(text)) {
        throw DataFileError("名称列表文件 " + pathText(path) + " 的第 " + std::to_string(line) +
                            " 行含有单独的回车符（CR，不是 CR LF 换行的一部分），它之后的名称"
                            "对应哪一项无法确定，没有使用它（请删去它或把它改成换行）");
    }
    auto entries = parseEntries(text, static_cast<std::size_t>(list.count));
    for (std::size_t k = 0; k < entries.size(); ++k) {
        // A name holds no control characters: a file with them is no list (or a crafted one
        // whose names would reach a terminal).
        if (hasControls(entries[k])) {
            throw DataFileError("名称列表文件 " + pathText(path) + " 的第 " +
                                std::to_string(k + 1) + " 项「" + excerpt(entries[k]) +
                                "」含有控制字符，不像是名称列表，没有使用它");
        }
    }
    if (entries.size() < static_cast<std::size_t>(list.count)) {
        throw DataFileError("名称列表文件 " + pathText(path) + " 只有 " +
                            std::to_string(entries.size()) + " 项，少于所需的 " +
                            std::to_string(list.count) + " 项");
    }
    return entries;
}

NameLists loadNameLists(const ListFolder& folders, const std::filesystem::path& charFile) {
    NameLists lists;
    lists.units = readListFile(folders, kUnitList);
    lists.pilots = readListFile(folders, kPilotList);
    lists.chars = readCharTable(folders, charFile);
    lists.skills = readListFile(folders, kSkillList);
    return lists;
}

}  // namespace vorlan
