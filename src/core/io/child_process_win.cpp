// The Windows bodies of child_process.h. There is no fork: the child is this program started
// again (CreateProcessW) with the hidden arguments `--vorlan-child NAME HEX`, HEX being the
// argument's bytes, so that no quoting rule of the command line can change them. Its
// answer comes back on a pipe; a job object limits its memory and ends it with the handle.
#include <windows.h>

#include <io.h>
#include <psapi.h>
#include <shellapi.h>

#include <chrono>
#include <thread>

#include "io/child_process.h"
#include "io/child_registry.h"
#include "io/system_facts.h"
#include "io/win32.h"

namespace vorlan {

namespace {

constexpr const wchar_t* kChildFlag = L"--vorlan-child";

std::wstring hexOf(const std::string& bytes) {
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

bool bytesOf(std::wstring_view hex, std::string& out) {
    const auto value = [](wchar_t c) {
        return c >= L'0' && c <= L'9' ? c - L'0' : c >= L'a' && c <= L'f' ? c - L'a' + 10 : -1;
    };
    if (hex.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = value(hex[i]);
        const int low = value(hex[i + 1]);
        if (high < 0 || low < 0)
            return false;
        out += static_cast<char>(high * 16 + low);
    }
    return true;
}

// A job that ends the child when the program lets go of it, and holds its memory to what
// the program has in use and a gigabyte more.
win32::Handle limitingJob() {
    win32::Handle job(::CreateJobObjectW(nullptr, nullptr));
    if (job.get() == nullptr)
        return job;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE |
                                              JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION |
                                              JOB_OBJECT_LIMIT_PROCESS_MEMORY;
    PROCESS_MEMORY_COUNTERS used{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &used, sizeof used);
    limits.ProcessMemoryLimit = used.PagefileUsage + (std::size_t{1} << 30);
    ::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return job;
}

LONG WINAPI endOnCrash(EXCEPTION_POINTERS*) {
    // No report window, no debugger: the program reads the exit status.
    ::TerminateProcess(::GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

ChildAnswer runInChild(const char* name, const std::string& argument,
                       std::chrono::milliseconds limit, std::size_t maxAnswer) {
    using Outcome = ChildAnswer::Outcome;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    const std::filesystem::path self = runningProgramFile();
    if (childWork(name) == nullptr || self.empty())
        return {};
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return {};
    win32::Handle reader(readEnd);
    win32::Handle writer(writeEnd);
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    std::wstring command = L"\"" + self.native() + L"\" " + kChildFlag + L" " + win32::wide(name) +
                           L" x" + hexOf(argument);
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdOutput = writeEnd;
    // Only the pipe is handed down: no other handle of the program's is inheritable.
    PROCESS_INFORMATION child{};
    win32::Handle job = limitingJob();
    if (!::CreateProcessW(self.c_str(), command.data(), nullptr, nullptr, TRUE,
                          CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &start, &child))
        return {};
    win32::Handle process(child.hProcess);
    win32::Handle thread(child.hThread);
    if (job.get() != nullptr)
        ::AssignProcessToJobObject(job.get(), child.hProcess);
    ::ResumeThread(child.hThread);
    writer.reset();  // the child's end only: its exit ends the pipe

    ChildAnswer answer;
    bool timedOut = false;
    bool tooLong = false;
    for (;;) {
        DWORD waiting = 0;
        if (!::PeekNamedPipe(readEnd, nullptr, 0, nullptr, &waiting, nullptr))
            break;  // the child has gone and everything it wrote was read
        if (waiting > 0) {
            char buf[4096];
            DWORD n = 0;
            if (!::ReadFile(readEnd, buf, waiting < sizeof buf ? waiting : sizeof buf, &n, nullptr))
                break;
            answer.line.append(buf, n);
            if (answer.line.size() > maxAnswer) {
                tooLong = true;
                break;
            }
            continue;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (timedOut || tooLong ||
        ::WaitForSingleObject(child.hProcess, left.count() > 0 ? static_cast<DWORD>(left.count())
                                                               : 0) != WAIT_OBJECT_0) {
        ::TerminateProcess(child.hProcess, 9);
        ::WaitForSingleObject(child.hProcess, INFINITE);
        answer.outcome = tooLong ? Outcome::Failed : Outcome::TimedOut;
        return answer;
    }
    DWORD status = 1;
    ::GetExitCodeProcess(child.hProcess, &status);
    answer.outcome = status == 0 ? Outcome::Answered : Outcome::Failed;
    return answer;
}

int runChildWorkIfAsked() {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == nullptr)
        return -1;
    struct Free {
        LPWSTR* argv;
        ~Free() { ::LocalFree(argv); }
    } free{argv};
    if (argc != 4 || std::wstring_view(argv[1]) != kChildFlag || argv[3][0] != L'x')
        return -1;
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    ::SetUnhandledExceptionFilter(endOnCrash);
    std::string argument;
    const ChildWork work = childWork(win32::utf8(argv[2]));
    if (work == nullptr || !bytesOf(argv[3] + 1, argument))
        return 2;
    const std::string line = work(argument);
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    std::size_t done = 0;
    while (done < line.size()) {
        DWORD n = 0;
        if (!::WriteFile(out, line.data() + done, static_cast<DWORD>(line.size() - done), &n,
                         nullptr) ||
            n == 0)
            return 2;
        done += n;
    }
    return 0;
}

// No /proc/self/fd here: the name the open file has now (after any rename that swapped
// another file into its old name), for the child to open.
std::filesystem::path nameOfOpenFile(int fd, const std::filesystem::path& fallback) {
    const auto h = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    std::wstring name(MAX_PATH, L'\0');
    DWORD n = ::GetFinalPathNameByHandleW(h, name.data(), static_cast<DWORD>(name.size()),
                                          VOLUME_NAME_DOS);
    if (n >= name.size()) {
        name.resize(n + 1);
        n = ::GetFinalPathNameByHandleW(h, name.data(), static_cast<DWORD>(name.size()),
                                        VOLUME_NAME_DOS);
    }
    if (n == 0 || n >= name.size())
        return fallback;
    name.resize(n);
    return std::filesystem::path(name);
}

}  // namespace vorlan
