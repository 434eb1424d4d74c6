#include "io/child_registry.h"

#include <map>
#include <mutex>

namespace vorlan {

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, ChildWork> works;
};

// Made on first use: registrations run while static objects are made, in any order.
Registry& registry() {
    static Registry r;
    return r;
}

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

}  // namespace vorlan
