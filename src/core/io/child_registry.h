#pragma once
// The works registered for child processes, shared by both systems' runInChild.

#include "io/child_process.h"

namespace vorlan {

// The work registered as `name`, or nullptr.
ChildWork childWork(const std::string& name);

}  // namespace vorlan
