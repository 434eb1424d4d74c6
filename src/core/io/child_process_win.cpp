// The Windows bodies of child_process.h. There is no fork: the child is this program started
// again (CreateProcessW) with the hidden arguments of childRequest (child_work.h). Its answer
// comes back on a pipe; a job object limits its memory and ends it with the handle.
#include <windows.h>

#include <io.h>
#include <psapi.h>
#include <shellapi.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "io/child_process.h"
#include "io/child_work.h"
#include "io/system_facts.h"
#include "io/win32.h"

namespace vorlan {

namespace {

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
    if (!programStarted())
        throw std::logic_error("程序的 main 没有先调用 startProgram()，不能启动子进程");
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

    // The request's words hold no space or quote: hex digits and registered names.
    std::wstring command = L"\"" + self.native() + L"\"";
    for (const std::string& word : childRequest(name, argument))
        command += L" " + win32::wide(word);
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

    AnswerReader answer(maxAnswer);
    bool timedOut = false;
    for (;;) {
        DWORD waiting = 0;
        if (!::PeekNamedPipe(readEnd, nullptr, 0, nullptr, &waiting, nullptr))
            break;  // the child has gone and everything it wrote was read
        if (waiting > 0) {
            char buf[4096];
            DWORD n = 0;
            if (!::ReadFile(readEnd, buf, waiting < sizeof buf ? waiting : sizeof buf, &n,
                            nullptr) ||
                !answer.take({buf, n}))
                break;
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
    if (timedOut || answer.tooLong() ||
        ::WaitForSingleObject(child.hProcess, left.count() > 0 ? static_cast<DWORD>(left.count())
                                                               : 0) != WAIT_OBJECT_0) {
        ::TerminateProcess(child.hProcess, 9);
        ::WaitForSingleObject(child.hProcess, INFINITE);
        return answer.end(!answer.tooLong(), false);
    }
    DWORD status = 1;
    ::GetExitCodeProcess(child.hProcess, &status);
    return answer.end(false, status == 0);
}

std::vector<std::string> ownArguments() {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    std::vector<std::string> args;
    if (argv == nullptr)
        return args;
    for (int i = 1; i < argc; ++i)
        args.push_back(win32::utf8(argv[i]));
    ::LocalFree(argv);
    return args;
}

bool writeAnswer(std::string_view line) {
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    std::size_t done = 0;
    while (done < line.size()) {
        DWORD n = 0;
        if (!::WriteFile(out, line.data() + done, static_cast<DWORD>(line.size() - done), &n,
                         nullptr) ||
            n == 0)
            return false;
        done += n;
    }
    return true;
}

void prepareChild() {
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    ::SetUnhandledExceptionFilter(endOnCrash);
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
