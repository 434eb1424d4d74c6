// The Windows bodies of system_facts.h.
#include <windows.h>

#include <io.h>
#include <shlobj.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "io/posix_file.h"
#include "io/system_facts.h"
#include "io/win32.h"

namespace vorlan {

std::string localTimeText(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[64] = "0";
    if (::localtime_s(&local, &now) == 0 && std::strftime(text, sizeof text, format, &local) == 0)
        return "0";
    return text;
}

std::string userConfigPlace() {
    return "%APPDATA%";
}

char pathSeparator() {
    return '\\';
}

Shell commandShell() {
    return Shell::Cmd;
}

std::filesystem::path systemUserFilesFolder() {
    // The variable first, as most programs do (and tests can point it elsewhere).
    if (const wchar_t* set = ::_wgetenv(L"APPDATA"); set != nullptr) {
        const std::filesystem::path folder(set);
        if (folder.is_absolute())
            return folder;
    }
    PWSTR folder = nullptr;
    std::filesystem::path out;
    if (::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &folder) == S_OK)
        out = folder;
    ::CoTaskMemFree(folder);
    return out;
}

std::filesystem::path userConfigFolder() {
    return systemUserFilesFolder();
}

std::string othersAccessText(unsigned) {
    return "的安全设置允许其他账户访问它";
}

std::string ownerOnlyAdvice() {
    return "可以在它的“属性 → 安全”中只留下你自己的账户后再试";
}

std::filesystem::path currentNameOfOpenFile(int fd) {
    const auto h = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    std::wstring name(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD n = ::GetFinalPathNameByHandleW(h, name.data(), static_cast<DWORD>(name.size()),
                                                    VOLUME_NAME_DOS);
        if (n == 0)
            return {};
        if (n < name.size()) {
            name.resize(n);
            // "\\?\C:\…" as a person writes it: "C:\…".
            if (name.starts_with(L"\\\\?\\UNC\\"))
                name = L"\\\\" + name.substr(8);
            else if (name.starts_with(L"\\\\?\\"))
                name = name.substr(4);
            return std::filesystem::path(name);
        }
        name.resize(n + 1);
    }
    return {};
}

std::filesystem::path runningProgramFile() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (n == 0)
            return {};
        if (n < name.size()) {
            name.resize(n);
            return std::filesystem::path(name);
        }
        if (name.size() > 32768)
            return {};
        name.resize(name.size() * 2);
    }
}

void makePrivateFolders(const std::filesystem::path& folder) {
    std::filesystem::path at;
    for (const std::filesystem::path& part : folder) {
        at /= part;
        // "C:" and "\" of an absolute path are there already.
        if (at == at.root_name() || at == at.root_path())
            continue;
        win32::PrivateSecurity security;
        int error = 0;
        if (!::CreateDirectoryW(at.c_str(), &security.attributes)) {
            const DWORD why = ::GetLastError();
            error = win32::errnoOf(why);
            // What is there already must be a folder (a file of that name is no place for
            // files).
            if (why == ERROR_ALREADY_EXISTS) {
                const DWORD attributes = ::GetFileAttributesW(at.c_str());
                error = attributes == INVALID_FILE_ATTRIBUTES ? win32::errnoOf(::GetLastError())
                        : (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? 0
                                                                       : ENOTDIR;
            }
        }
        if (error != 0) {
            throw IoError(
                "无法建立文件夹：" + win32::utf8(at.native()) + "（" + systemMessage(error) + "）",
                error);
        }
    }
}

}  // namespace vorlan
