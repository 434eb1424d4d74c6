#include "io/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "io/child_work.h"

namespace vorlan {

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

bool writeAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The child's work: the answer on the pipe, then _exit without running anything of the
// parent's (atexit handlers, stdio buffers, Qt).
[[noreturn]] void child(ChildWork work, const std::string& argument, int out,
                        std::uint64_t addressLimit) {
    if (!kAddressSanitizer && addressLimit != 0) {
        const rlimit limit{addressLimit, addressLimit};
        ::setrlimit(RLIMIT_AS, &limit);
    }
    ::_exit(writeAll(out, work(argument)) ? 0 : 2);
}

// What the child may use: what the program has mapped now, and a gigabyte more.
std::uint64_t addressLimit() {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t pages = 0;
    if (!(statm >> pages))
        return 0;
    return pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE)) + (std::uint64_t{1} << 30);
}

bool waitFor(pid_t pid, std::chrono::steady_clock::time_point deadline, int& status) {
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return true;
        if (done < 0 && errno != EINTR)
            return false;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

}  // namespace

ChildAnswer runInChild(const char* name, const std::string& argument,
                       std::chrono::milliseconds limit, std::size_t maxAnswer) {
    if (!programStarted())
        throw std::logic_error("程序的 main 没有先调用 startProgram()，不能启动子进程");
    const ChildWork work = childWork(name);
    if (work == nullptr)
        return {};
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return {};
    const std::uint64_t memory = addressLimit();
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return {};
    }
    if (pid == 0) {
        ::close(fds[0]);
        child(work, argument, fds[1], memory);
    }
    ::close(fds[1]);
    const auto deadline = std::chrono::steady_clock::now() + limit;
    AnswerReader reader(maxAnswer);
    bool timedOut = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            timedOut = ready == 0;
            break;
        }
        char buf[4096];
        const ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || !reader.take({buf, static_cast<std::size_t>(n)}))
            break;
    }
    ::close(fds[0]);
    int status = 0;
    if (timedOut || reader.tooLong() || !waitFor(pid, deadline, status)) {
        ::kill(pid, SIGKILL);
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return reader.end(!reader.tooLong(), false);
    }
    return reader.end(false, WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

std::vector<std::string> ownArguments() {
    // A child's arguments are short; a longer command line is no child request anyway.
    constexpr std::size_t kEnough = 1 << 16;
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string all(kEnough, '\0');
    in.read(all.data(), static_cast<std::streamsize>(all.size()));
    all.resize(static_cast<std::size_t>(in.gcount()));
    std::vector<std::string> args;
    std::size_t at = all.find('\0');
    while (at != std::string::npos && at + 1 < all.size()) {
        const std::size_t next = all.find('\0', at + 1);
        args.push_back(all.substr(at + 1, next == std::string::npos ? next : next - at - 1));
        at = next;
    }
    return args;
}

bool writeAnswer(std::string_view line) {
    return writeAll(STDOUT_FILENO, line);
}

void prepareChild() {}

std::filesystem::path nameOfOpenFile(int fd, const std::filesystem::path& fallback) {
    const std::string proc = "/proc/self/fd/" + std::to_string(fd);
    return ::access(proc.c_str(), R_OK) == 0 ? std::filesystem::path(proc) : fallback;
}

}  // namespace vorlan
