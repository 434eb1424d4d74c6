#include "io/win32.h"

#include <aclapi.h>

#include <cerrno>

namespace vorlan::win32 {

int errnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
        case ERROR_INVALID_DRIVE:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_PRIVILEGE_NOT_HELD:
            return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_BUSY:
            return EBUSY;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_NOT_SAME_DEVICE:
            return EXDEV;
        case ERROR_DIRECTORY:
            return ENOTDIR;
        case ERROR_DIR_NOT_EMPTY:
            return ENOTEMPTY;
        case ERROR_NOT_SUPPORTED:
        case ERROR_INVALID_FUNCTION:
        case ERROR_INVALID_PARAMETER:
            return EINVAL;
        case ERROR_CANT_RESOLVE_FILENAME:
        case ERROR_CANT_ACCESS_FILE:
            return ELOOP;
        case ERROR_INVALID_HANDLE:
            return EBADF;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        default:
            return EIO;
    }
}

int failed() {
    errno = errnoOf(::GetLastError());
    return -1;
}

std::wstring wide(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string utf8(std::wstring_view text) {
    if (text.empty())
        return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                          nullptr, nullptr);
    return out;
}

PSID currentUser() {
    // Asked once: the token's user does not change while the program runs.
    static const std::vector<unsigned char> user = [] {
        std::vector<unsigned char> buffer;
        HANDLE token = nullptr;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
            return buffer;
        DWORD size = 0;
        ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        buffer.resize(size);
        if (size == 0 || !::GetTokenInformation(token, TokenUser, buffer.data(), size, &size))
            buffer.clear();
        ::CloseHandle(token);
        return buffer;
    }();
    return user.empty() ? nullptr : reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
}

bool isOwnUser(PSID owner) {
    if (owner == nullptr || !::IsValidSid(owner))
        return false;
    if (PSID me = currentUser(); me != nullptr && ::EqualSid(owner, me))
        return true;
    BOOL member = FALSE;
    return ::IsWellKnownSid(owner, WinBuiltinAdministratorsSid) &&
           ::CheckTokenMembership(nullptr, owner, &member) && member;
}

PrivateSecurity::PrivateSecurity() {
    PSID me = currentUser();
    const DWORD size = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + (me ? ::GetLengthSid(me) : 0);
    acl_.resize(size);
    auto* acl = reinterpret_cast<PACL>(acl_.data());
    ::InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION);
    ::InitializeAcl(acl, size, ACL_REVISION);
    if (me != nullptr) {
        ::AddAccessAllowedAceEx(acl, ACL_REVISION, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE,
                                GENERIC_ALL, me);
    }
    ::SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE);
    ::SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    attributes.nLength = sizeof attributes;
    attributes.lpSecurityDescriptor = &descriptor_;
    attributes.bInheritHandle = FALSE;
}

}  // namespace vorlan::win32
