#include "lists/char_file.h"

#include <algorithm>
#include <cctype>

#include "io/path_text.h"
#include "io/text_file.h"
#include "lists/name_lists.h"
#include "text/tbl.h"

namespace vorlan {

namespace {

bool isTbl(const std::filesystem::path& path) {
    std::string ext = pathText(path.extension());
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".tbl";
}

bool present(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::symlink_status(path, ec).type() !=
           std::filesystem::file_type::not_found;
}

}  // namespace

std::vector<std::string> readCharFile(const std::filesystem::path& path) {
    if (!isTbl(path)) {
        const std::string name = pathText(path.filename());
        return readListFile(path.parent_path(), ListFile{name.c_str(), kCharList.count});
    }
    const std::string text = readTextFile(path);
    try {
        return parseTbl(text);
    } catch (const TblError& e) {
        throw DataFileError("字码表文件 " + pathText(path) + " " + e.what());
    }
}

std::vector<std::string> readCharTable(const ListFolder& lists,
                                       const std::filesystem::path& chosen) {
    if (!chosen.empty())
        return readCharFile(chosen);
    for (const std::filesystem::path& dir : {lists.folder, lists.fallback}) {
        if (dir.empty())
            continue;
        if (present(dir / kCharList.name))
            return readListFile(ListFolder(dir), kCharList);
        if (present(dir / kCharTblName))
            return readCharFile(dir / kCharTblName);
    }
    // Neither: the message names string.txt of the folder asked for.
    return readListFile(ListFolder(lists.folder), kCharList);
}

}  // namespace vorlan
