#include "exe_bench.h"

namespace vorlan::test {

ExeBench::ExeBench() {
    // The fault library compares the paths the kernel reports, which have no links in them.
    dir_ = std::filesystem::canonical(root_.path()) / "exe";
    exe_ = dir_ / "SLKV_618.04";
    reset();
}

void ExeBench::reset() {
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    writeDemo(exe_);
    std::filesystem::remove(counts());
    std::filesystem::remove(mark());
}

std::filesystem::path ExeBench::sibling(const char* suffix) const {
    auto p = exe_;
    p += suffix;
    return p;
}

std::vector<std::string> ExeBench::strayFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
        if (entry.path() != exe_)
            names.push_back(entry.path().filename().string());
    }
    return names;
}

std::vector<std::string> ExeBench::command(const std::vector<std::string>& args) const {
    std::vector<std::string> all{"--exe", exe_.string()};
    all.insert(all.end(), args.begin(), args.end());
    return all;
}

Faults ExeBench::faults(const char* plan) const {
    if (plan == nullptr)
        return {};
    return {dir_, plan, mark(), counts()};
}

CliResult ExeBench::run(const std::vector<std::string>& args, const char* plan) const {
    if (plan != nullptr)
        std::filesystem::remove(counts());
    return runCli(command(args), faults(plan), logs());
}

}  // namespace vorlan::test
