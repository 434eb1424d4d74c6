#include "io/output_file.h"

#include <cerrno>
#include <optional>

#include "io/new_file.h"
#include "io/path_text.h"

namespace vorlan {

namespace {

namespace fs = std::filesystem;

// The target as its real folder names it: links in the folder part resolved, the last part
// kept as given (a link there is the target itself, never followed).
fs::path resolved(const fs::path& target) {
    const fs::path absolute = fs::absolute(target);
    std::error_code ec;
    const fs::path folder = fs::weakly_canonical(absolute.parent_path(), ec);
    return ec ? absolute.lexically_normal() : folder / absolute.filename();
}

std::string quoted(const fs::path& p) {
    return "「" + pathText(p) + "」";
}

}  // namespace

void KeptFiles::add(const KeptFiles& other) {
    names.insert(names.end(), other.names.begin(), other.names.end());
    patterns.insert(patterns.end(), other.patterns.begin(), other.patterns.end());
    files.insert(files.end(), other.files.begin(), other.files.end());
    recognisers.insert(recognisers.end(), other.recognisers.begin(), other.recognisers.end());
    nameChecks.insert(nameChecks.end(), other.nameChecks.begin(), other.nameChecks.end());
}

std::string outputProblem(FileOps& ops, const fs::path& target, const KeptFiles& kept) {
    const fs::path real = resolved(target);
    const std::string name = pathText(real.filename());
    if (name.empty() || name == "." || name == "..")
        return quoted(target) + "不是文件名。";
    for (const char* side : {".journal", ".bak", ".orig", ".replacing", ".partial"}) {
        if (name.ends_with(side)) {
            return quoted(target) + "的名字以 " + side +
                   " 结尾，这样的名字留给本程序放在游戏主程序或镜像旁边的附属文件，导出或保存的"
                   "文件不用它，没有写入。请换一个文件名。";
        }
    }
    const std::string text = pathText(real);
    const auto keep = [&](const std::string& what) {
        return quoted(target) + "是" + what +
               "，导出或保存的文件不能放在它的位置上，没有写入。请换一个文件名。";
    };
    for (const auto& [path, what] : kept.names) {
        if (path == real)
            return keep(what);
    }
    for (const KeptFiles::Pattern& p : kept.patterns) {
        if (text.size() >= p.prefix.size() + p.suffix.size() && text.starts_with(p.prefix) &&
            text.ends_with(p.suffix))
            return keep(p.what);
    }
    for (const auto& check : kept.nameChecks) {
        if (const std::string what = check(ops, real); !what.empty())
            return keep(what);
    }
    FileStatus st;
    if (ops.lstat(real, st) != 0) {
        // Named as the player typed it, never by the fresh name the write would make there.
        const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
        FileStatus in;
        if (ops.stat(folder, in) != 0)
            return "文件夹" + quoted(folder) + "不存在，没有写入" + quoted(target) + "。";
        if (in.type != FileStatus::Type::Directory)
            return quoted(folder) + "不是文件夹，没有写入" + quoted(target) + "。";
        return {};  // nothing there: a new file
    }
    for (const auto& [id, what] : kept.files) {
        if (st.device == id.device && st.inode == id.inode)
            return keep(what + "（同一个文件的另一个名字）");
    }
    if (st.regular()) {
        for (const auto& recognise : kept.recognisers) {
            if (const std::string what = recognise(ops, real, st); !what.empty())
                return keep(what);
        }
    }
    if (!st.regular()) {
        return quoted(target) +
               "不是普通文件（是符号链接、文件夹、管道或设备），不会用导出或保存的文件替换它，没有"
               "写入。请换一个文件名。";
    }
    // Something there without `replace`: the write itself fails with EEXIST, which callers
    // answer by offering to replace it.
    return {};
}

void writeOutputFile(FileOps& ops, const fs::path& target, std::span<const std::uint8_t> bytes,
                     bool replace, const KeptFiles& kept) {
    if (const std::string problem = outputProblem(ops, target, kept); !problem.empty())
        throw IoError(problem, EPERM);
    FileStatus st;
    if (replace && ops.lstat(target, st) == 0)
        replaceFile(ops, target, bytes);
    else
        createNewFile(ops, target, bytes);
}

void writeLoneOutputFile(FileOps& ops, const fs::path& target, std::span<const std::uint8_t> bytes,
                         bool replace, const KeptFiles& kept) {
    // A target refused by name or kind is refused by the write below, without the lock.
    std::optional<OutputFolder> folder;
    if (outputProblem(ops, target, kept).empty()) {
        const fs::path parent = target.parent_path().empty() ? fs::path(".") : target.parent_path();
        folder.emplace(ops, parent, std::vector<fs::path>{target});
    }
    writeOutputFile(ops, target, bytes, replace, kept);
}

OutputFolder::OutputFolder(FileOps& ops, const fs::path& folder,
                           const std::vector<fs::path>& outputs)
    : lock_(ops, folder, PosixFile::Mode::Read) {
    if (!lock_.lock(true, std::chrono::seconds(5))) {
        throw IoError("另一个程序正在向这个文件夹导出文件，等了几秒仍未结束：" + pathText(folder),
                      EBUSY);
    }
    for (const fs::path& output : outputs)
        removeLeftoverPartials(ops, output);
}

}  // namespace vorlan
