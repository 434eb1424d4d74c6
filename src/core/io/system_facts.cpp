#include "io/system_facts.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "io/path_text.h"
#include "io/posix_file.h"

namespace vorlan {

std::string localTimeText(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[64] = "0";
    if (::localtime_r(&now, &local) != nullptr &&
        std::strftime(text, sizeof text, format, &local) == 0)
        return "0";
    return text;
}

std::filesystem::path userConfigFolder() {
    const auto absolute = [](const char* value) {
        return value != nullptr && value[0] == '/' ? std::filesystem::path(value)
                                                   : std::filesystem::path();
    };
    if (auto xdg = absolute(std::getenv("XDG_CONFIG_HOME")); !xdg.empty())
        return xdg;
    if (auto home = absolute(std::getenv("HOME")); !home.empty())
        return home / ".config";
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr)
        return {};
    if (auto home = absolute(found->pw_dir); !home.empty())
        return home / ".config";
    return {};
}

std::string userConfigPlace() {
    return "~/.config";
}

char pathSeparator() {
    return '/';
}

Shell commandShell() {
    return Shell::Posix;
}

std::filesystem::path systemUserFilesFolder() {
    return {};
}

std::string othersAccessText(unsigned permissions) {
    char mode[16];
    std::snprintf(mode, sizeof mode, "%04o", permissions & 07777u);
    return std::string("的权限是 ") + mode;
}

std::string ownerOnlyAdvice() {
    return "可以用 chmod 600 改正它的权限后再试";
}

std::filesystem::path currentNameOfOpenFile(int fd) {
    std::error_code ec;
    const std::filesystem::path name =
        std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), ec);
    // A file whose every name is gone shows its last one with " (deleted)".
    if (ec || !name.is_absolute() || name.native().ends_with(" (deleted)"))
        return {};
    return name;
}

std::filesystem::path runningProgramFile() {
    std::error_code ec;
    std::filesystem::path self = std::filesystem::canonical("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : self;
}

void makePrivateFolders(const std::filesystem::path& folder) {
    std::filesystem::path at;
    for (const std::filesystem::path& part : folder) {
        at /= part;
        int error = ::mkdir(at.c_str(), 0700) == 0 ? 0 : errno;
        // What is there already must be a folder (a file of that name is no place for files).
        struct stat st {};
        if (error == EEXIST)
            error = ::stat(at.c_str(), &st) != 0 ? errno : S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
        if (error != 0)
            throw IoError("无法建立文件夹：" + pathText(at) + "（" + systemMessage(error) + "）",
                          error);
    }
}

}  // namespace vorlan
