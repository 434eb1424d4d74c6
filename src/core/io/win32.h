#pragma once
// What the Windows bodies of this folder share: errno from the system's error codes, UTF-8
// and UTF-16 text, and the user the program runs as.
#ifdef _WIN32

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vorlan::win32 {

// The errno value that stands for a Windows error code (EIO for what has none).
int errnoOf(DWORD error);
// Sets errno from GetLastError() and returns -1, as the system calls of Linux.
int failed();

std::wstring wide(std::string_view utf8);
std::string utf8(std::wstring_view text);

// The user the program runs as (its security identifier, owned here).
PSID currentUser();
// Whether `owner` owns files for the program's user: the user, or the Administrators group
// that owns what an elevated administrator makes.
bool isOwnUser(PSID owner);

// A security descriptor that lets the program's user, and nobody else, in: what mode 0600
// and 0700 mean on Linux. Inheritance from the folder is cut.
struct PrivateSecurity {
    PrivateSecurity();
    PrivateSecurity(const PrivateSecurity&) = delete;
    PrivateSecurity& operator=(const PrivateSecurity&) = delete;
    SECURITY_ATTRIBUTES attributes{};

private:
    SECURITY_DESCRIPTOR descriptor_{};
    std::vector<unsigned char> acl_;
};

struct HandleCloser {
    void operator()(HANDLE h) const {
        if (h != INVALID_HANDLE_VALUE && h != nullptr)
            ::CloseHandle(h);
    }
};
using Handle = std::unique_ptr<void, HandleCloser>;

}  // namespace vorlan::win32

#endif
