#include "io/file_names.h"

namespace vorlan {

std::vector<std::filesystem::path> otherNamesOf(FileOps& ops, const std::filesystem::path& file,
                                                const FileIdentity& id, std::size_t limit) {
    std::vector<std::filesystem::path> names;
    FileStatus st;
    if (ops.lstat(file, st) != 0 || st.links < 2)
        return names;
    const auto folder =
        file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
    std::error_code ec;
    std::size_t seen = 0;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end && seen < limit;
         it.increment(ec), ++seen) {
        const auto& path = it->path();
        if (path.filename() == file.filename())
            continue;
        FileStatus other;
        if (ops.lstat(path, other) == 0 && other.regular() && other.sameFile(id))
            names.push_back(path);
    }
    return names;
}

}  // namespace vorlan
