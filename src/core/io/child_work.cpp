#include "io/child_work.h"

#include <atomic>
#include <map>
#include <mutex>

#include "io/program_start.h"

namespace vorlan {

namespace {

constexpr const char* kChildFlag = "--vorlan-child";

struct Registry {
    std::mutex mutex;
    std::map<std::string, ChildWork> works;
};

// Made on first use: registrations run while static objects are made, in any order.
Registry& registry() {
    static Registry r;
    return r;
}

std::atomic<bool> started{false};

}  // namespace

bool registerChildWork(const char* name, ChildWork work) {
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    return r.works.emplace(name, work).second;
}

ChildWork childWork(const std::string& name) {
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    const auto it = r.works.find(name);
    return it == r.works.end() ? nullptr : it->second;
}

std::vector<std::string> childRequest(const std::string& name, const std::string& argument) {
    static const char digits[] = "0123456789abcdef";
    std::string hex = "x";
    for (const char c : argument) {
        const auto b = static_cast<unsigned char>(c);
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    return {kChildFlag, name, hex};
}

std::optional<ChildRequest> parseChildRequest(const std::vector<std::string>& args) {
    if (args.empty() || args[0] != kChildFlag)
        return std::nullopt;
    ChildRequest request;
    if (args.size() != 3 || args[2].empty() || args[2][0] != 'x' || args[2].size() % 2 == 0)
        return request;
    const auto value = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    };
    for (std::size_t i = 1; i < args[2].size(); i += 2) {
        const int high = value(args[2][i]);
        const int low = value(args[2][i + 1]);
        if (high < 0 || low < 0)
            return ChildRequest{};
        request.argument += static_cast<char>(high * 16 + low);
    }
    request.work = childWork(args[1]);
    return request;
}

bool AnswerReader::take(std::string_view bytes) {
    answer_.line.append(bytes);
    return !tooLong();
}

ChildAnswer AnswerReader::end(bool timedOut, bool exitedWithZero) {
    using Outcome = ChildAnswer::Outcome;
    answer_.outcome = tooLong()        ? Outcome::Failed
                      : timedOut       ? Outcome::TimedOut
                      : exitedWithZero ? Outcome::Answered
                                       : Outcome::Failed;
    return answer_;
}

bool programStarted() {
    return started;
}

std::optional<int> startProgram() {
    started = true;
    const std::optional<ChildRequest> request = parseChildRequest(ownArguments());
    if (!request)
        return std::nullopt;
    prepareChild();
    if (request->work == nullptr)
        return 2;
    return writeAnswer(request->work(request->argument)) ? 0 : 2;
}

}  // namespace vorlan
