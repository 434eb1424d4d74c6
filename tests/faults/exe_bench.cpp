#include "exe_bench.h"

namespace vorlan::test {

void ExeBench::reset() {
    DemoExe::reset();
    std::filesystem::remove(counts());
    std::filesystem::remove(mark());
}

std::vector<std::string> ExeBench::strayFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir())) {
        if (entry.path() != path())
            names.push_back(entry.path().filename().string());
    }
    return names;
}

std::vector<std::string> ExeBench::command(const std::vector<std::string>& args) const {
    std::vector<std::string> all{"--exe", path().string()};
    all.insert(all.end(), args.begin(), args.end());
    return all;
}

Faults ExeBench::faults(const char* plan) const {
    if (plan == nullptr)
        return {};
    return {dir(), plan, mark(), counts()};
}

CliResult ExeBench::run(const std::vector<std::string>& args, const char* plan) const {
    if (plan != nullptr)
        std::filesystem::remove(counts());
    return runCli(command(args), faults(plan), logs());
}

}  // namespace vorlan::test
