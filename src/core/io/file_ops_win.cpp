// The Windows bodies of FileOps: CreateFileW and its friends on UTF-16 paths. A descriptor
// is the C runtime's number for the handle (_open_osfhandle), so the rest of the program
// keeps its ints.
#include <windows.h>

#include <aclapi.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <vector>

#include "io/file_ops.h"
#include "io/win32.h"

namespace vorlan {

namespace {

using win32::failed;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// flock's lock is one byte far past any real data: a Windows lock keeps other handles from
// reading and writing the bytes it covers, and the program's own other handles too.
constexpr DWORD kLockHigh = 0x7FFFFFFF;
// What stands for a folder's lock (LockFileEx refuses folders): a file inside it that the
// system removes when the holder closes it or dies.
constexpr const wchar_t* kFolderLock = L".vorlan-lock";

// FileDispositionInfoEx (Windows 10 1607), which the headers name for newer targets only.
constexpr auto kDispositionInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(21);

struct Open {
    bool folder = false;
    int locked = 0;  // 0 none, 1 shared, 2 exclusive
    std::wstring path;
    HANDLE folderLock = INVALID_HANDLE_VALUE;
    DWORD volume = 0;  // as it was at open (Wine says 0 for a handle whose file was renamed)
};

std::mutex openMutex;
std::map<int, Open>& opens() {
    static std::map<int, Open> table;
    return table;
}

HANDLE handleOf(int fd) {
    return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

std::uint64_t join(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

std::wstring freshName(const std::wstring& base) {
    static thread_local std::mt19937 random{std::random_device{}()};
    return base + L"." + std::to_wstring(random()) + L".deleted";
}

FileStatus statusOf(HANDLE h, bool links) {
    FileStatus s;
    BY_HANDLE_FILE_INFORMATION info{};
    const DWORD kind = ::GetFileType(h);
    if (kind != FILE_TYPE_DISK || !::GetFileInformationByHandle(h, &info)) {
        s.type = FileStatus::Type::Other;
        s.links = 1;
        return s;
    }
    const DWORD attributes = info.dwFileAttributes;
    s.type = links && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? FileStatus::Type::Link
             : (attributes & FILE_ATTRIBUTE_DIRECTORY)            ? FileStatus::Type::Directory
                                                                  : FileStatus::Type::Regular;
    s.device = info.dwVolumeSerialNumber;
    s.inode = join(info.nFileIndexHigh, info.nFileIndexLow);
    s.size = join(info.nFileSizeHigh, info.nFileSizeLow);
    s.links = info.nNumberOfLinks;
    // 100-nanosecond steps since 1601.
    const std::uint64_t written =
        join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
    s.modified = (static_cast<std::int64_t>(written) - 116444736000000000LL) * 100;
    // The owner, and who else the access list lets in: group and others' bits of a mode.
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    unsigned others = 0;
    if (::GetSecurityInfo(h, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                          &owner, nullptr, &dacl, nullptr, &sd) == ERROR_SUCCESS) {
        s.ownedByUser = win32::isOwnUser(owner);
        for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
            ACE_HEADER* ace = nullptr;
            if (!::GetAce(dacl, i, reinterpret_cast<void**>(&ace)) ||
                ace->AceType != ACCESS_ALLOWED_ACE_TYPE || (ace->AceFlags & INHERIT_ONLY_ACE))
                continue;
            auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace);
            PSID who = &allowed->SidStart;
            if (win32::isOwnUser(who) || ::IsWellKnownSid(who, WinLocalSystemSid) ||
                ::IsWellKnownSid(who, WinBuiltinAdministratorsSid) ||
                ::IsWellKnownSid(who, WinCreatorOwnerSid))
                continue;
            const ACCESS_MASK mask = allowed->Mask;
            if (mask & (GENERIC_ALL | GENERIC_READ | FILE_READ_DATA))
                others |= 044;
            if (mask & (GENERIC_ALL | GENERIC_WRITE | FILE_WRITE_DATA | FILE_APPEND_DATA))
                others |= 022;
        }
        ::LocalFree(sd);
    }
    const bool folder = s.type == FileStatus::Type::Directory;
    const unsigned owners = (attributes & FILE_ATTRIBUTE_READONLY) && !folder ? 0400 : 0600;
    s.permissions = owners | others | (folder ? 0100 : 0);
    return s;
}

// A handle to ask about `path` (never to read or write it).
win32::Handle openForStatus(const std::filesystem::path& path, bool followLinks) {
    const DWORD flags =
        FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    HANDLE h = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES | READ_CONTROL, kShareAll, nullptr,
                             OPEN_EXISTING, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_ACCESS_DENIED) {
        h = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                          flags, nullptr);
    }
    return win32::Handle(h);
}

int statusCall(const std::filesystem::path& path, FileStatus& out, bool followLinks) {
    win32::Handle h = openForStatus(path, followLinks);
    if (h.get() == INVALID_HANDLE_VALUE)
        return failed();
    out = statusOf(h.get(), !followLinks);
    return 0;
}

bool isReparsePoint(HANDLE h) {
    BY_HANDLE_FILE_INFORMATION info{};
    return ::GetFileType(h) == FILE_TYPE_DISK && ::GetFileInformationByHandle(h, &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

}  // namespace

int FileOps::open(const std::filesystem::path& path, OpenMode mode, bool followLinks) {
    DWORD access = GENERIC_READ;
    DWORD share = kShareAll;
    DWORD disposition = OPEN_EXISTING;
    DWORD flags = FILE_FLAG_BACKUP_SEMANTICS;  // folders open too, as on Linux
    std::optional<win32::PrivateSecurity> privateSecurity;
    SECURITY_ATTRIBUTES* security = nullptr;
    switch (mode) {
        case OpenMode::Read:
        case OpenMode::Folder:
            break;
        case OpenMode::ReadWrite:
            access |= GENERIC_WRITE;
            break;
        case OpenMode::CreatePrivate:
            security = &privateSecurity.emplace().attributes;
            [[fallthrough]];
        case OpenMode::CreateNew:
            // Nobody else writes a file while we make it; it may be renamed and removed.
            access |= GENERIC_WRITE;
            share = FILE_SHARE_READ | FILE_SHARE_DELETE;
            disposition = CREATE_NEW;
            flags = FILE_ATTRIBUTE_NORMAL;
            followLinks = false;
            break;
    }
    if (!followLinks)
        flags |= FILE_FLAG_OPEN_REPARSE_POINT;
    HANDLE h = ::CreateFileW(path.c_str(), access, share, security, disposition, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return failed();
    // A reparse point (symbolic link, junction) where links are refused: ELOOP, as O_NOFOLLOW.
    if (!followLinks && disposition == OPEN_EXISTING && isReparsePoint(h)) {
        ::CloseHandle(h);
        errno = ELOOP;
        return -1;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool folder = ::GetFileType(h) == FILE_TYPE_DISK &&
                        ::GetFileInformationByHandle(h, &info) &&
                        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    if (mode == OpenMode::Folder && !folder) {
        ::CloseHandle(h);
        errno = ENOTDIR;
        return -1;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(h);
        errno = EMFILE;
        return -1;
    }
    const std::lock_guard lock(openMutex);
    opens()[fd] = Open{folder, 0, path.native(), INVALID_HANDLE_VALUE, info.dwVolumeSerialNumber};
    return fd;
}

int FileOps::close(int fd) {
    {
        const std::lock_guard lock(openMutex);
        if (auto it = opens().find(fd); it != opens().end()) {
            if (it->second.folderLock != INVALID_HANDLE_VALUE)
                ::CloseHandle(it->second.folderLock);
            opens().erase(it);
        }
    }
    return ::_close(fd);
}

std::ptrdiff_t FileOps::pread(int fd, void* buf, std::size_t count, std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD done = 0;
    const DWORD want = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
    if (!::ReadFile(handleOf(fd), buf, want, &done, &at)) {
        if (::GetLastError() == ERROR_HANDLE_EOF)
            return 0;
        return failed();
    }
    return done;
}

std::ptrdiff_t FileOps::pwrite(int fd, const void* buf, std::size_t count, std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD done = 0;
    const DWORD want = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
    if (!::WriteFile(handleOf(fd), buf, want, &done, &at))
        return failed();
    return done;
}

int FileOps::fsync(int fd) {
    {
        // A folder's entries are in the file system's own journal once a rename or create
        // returned (MoveFileExW is asked to write through): nothing to flush.
        const std::lock_guard lock(openMutex);
        if (auto it = opens().find(fd); it != opens().end() && it->second.folder)
            return 0;
    }
    return ::FlushFileBuffers(handleOf(fd)) ? 0 : failed();
}

int FileOps::lock(int fd, bool exclusive) {
    const std::lock_guard guard(openMutex);
    auto it = opens().find(fd);
    if (it == opens().end()) {
        errno = EBADF;
        return -1;
    }
    Open& open = it->second;
    if (open.folder) {
        if (open.folderLock != INVALID_HANDLE_VALUE)
            return 0;
        HANDLE h = ::CreateFileW(
            (open.path + L"\\" + kFolderLock).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0,
            nullptr, CREATE_NEW,
            FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT,
            nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            errno = error == ERROR_FILE_EXISTS || error == ERROR_SHARING_VIOLATION ||
                            error == ERROR_ACCESS_DENIED
                        ? EWOULDBLOCK
                        : win32::errnoOf(error);
            return -1;
        }
        open.folderLock = h;
        return 0;
    }
    const int wanted = exclusive ? 2 : 1;
    if (open.locked == wanted)
        return 0;
    OVERLAPPED at{};
    at.OffsetHigh = kLockHigh;
    // Changing a held lock, as flock does: let go first (not atomic there either).
    if (open.locked != 0) {
        ::UnlockFileEx(handleOf(fd), 0, 1, 0, &at);
        open.locked = 0;
    }
    const DWORD how = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    if (!::LockFileEx(handleOf(fd), how, 0, 1, 0, &at)) {
        const DWORD error = ::GetLastError();
        errno = error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? EWOULDBLOCK
                                                                           : win32::errnoOf(error);
        return -1;
    }
    open.locked = wanted;
    return 0;
}

int FileOps::fstat(int fd, FileStatus& out) {
    HANDLE h = handleOf(fd);
    if (h == INVALID_HANDLE_VALUE) {
        errno = EBADF;
        return -1;
    }
    out = statusOf(h, false);
    if (out.device == 0) {
        // A file keeps its volume while open: renames cannot move it to another.
        const std::lock_guard lock(openMutex);
        if (auto it = opens().find(fd); it != opens().end())
            out.device = it->second.volume;
    }
    return 0;
}

int FileOps::stat(const std::filesystem::path& path, FileStatus& out) {
    return statusCall(path, out, true);
}

int FileOps::lstat(const std::filesystem::path& path, FileStatus& out) {
    return statusCall(path, out, false);
}

int FileOps::unlink(const std::filesystem::path& path) {
    win32::Handle h(::CreateFileW(
        path.c_str(), DELETE | FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
        FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (h.get() == INVALID_HANDLE_VALUE)
        return failed();
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileInformationByHandle(h.get(), &info) &&
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        errno = EISDIR;
        return -1;
    }
    // The name goes at once, as on Linux: a file still open elsewhere would otherwise keep
    // it, and making a new file of that name fails (error 80) until the last handle closes.
    FILE_DISPOSITION_INFO_EX posix{FILE_DISPOSITION_FLAG_DELETE |
                                   FILE_DISPOSITION_FLAG_POSIX_SEMANTICS};
    if (::SetFileInformationByHandle(h.get(), kDispositionInfoEx, &posix, sizeof posix))
        return 0;
    // Older systems: out of the way under a fresh name first, then removed.
    const std::wstring target = (path.parent_path() / freshName(path.filename().native())).native();
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    std::copy(target.begin(), target.end(), rename->FileName);
    ::SetFileInformationByHandle(h.get(), FileRenameInfo, rename,
                                 static_cast<DWORD>(buffer.size()));
    FILE_DISPOSITION_INFO remove{TRUE};
    if (!::SetFileInformationByHandle(h.get(), FileDispositionInfo, &remove, sizeof remove))
        return failed();
    return 0;
}

int FileOps::link(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::CreateHardLinkW(to.c_str(), from.c_str(), nullptr) ? 0 : failed();
}

int FileOps::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::MoveFileExW(from.c_str(), to.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 0
               : failed();
}

int FileOps::renameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) ? 0 : failed();
}

int FileOps::mayWriteIn(const std::filesystem::path& folder) {
    // What the access lists, inherited rights and a read-only share say together is known
    // only by trying: a file made new and gone again when closed.
    const std::wstring probe = (folder / freshName(L".vorlan-probe")).native();
    HANDLE h = ::CreateFileW(
        probe.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return failed();
    ::CloseHandle(h);
    return 0;
}

FileOps& systemFileOps() {
    static FileOps ops;
    return ops;
}

}  // namespace vorlan
