#include "session/pending_edits.h"

namespace vorlan {

void PendingEdits::setPending(QObject* page, bool pending) {
    const bool before = hasPending();
    pending_.removeAll(page);
    if (pending)
        pending_.append(page);
    if (before != hasPending())
        emit pendingChanged(hasPending());
}

void PendingEdits::addResolver(QObject* owner, std::function<bool(QWidget*)> resolve) {
    resolvers_.emplace_back(owner, std::move(resolve));
    connect(owner, &QObject::destroyed, this, [this, owner] {
        std::erase_if(resolvers_, [owner](const auto& r) { return r.first == owner; });
        setPending(owner, false);
    });
}

bool PendingEdits::resolvePending(QWidget* parent) {
    // A copy: resolving may close a window, which removes its resolver.
    const auto resolvers = resolvers_;
    for (const auto& [owner, resolve] : resolvers) {
        if (!resolve(parent))
            return false;
    }
    return true;
}

}  // namespace vorlan
