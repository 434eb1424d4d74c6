#pragma once
// Which pages and windows hold edits not yet written, and how each resolves them (write,
// discard or stay) when the executable is left: another file, "退出", closing the window.

#include <QList>
#include <QObject>
#include <functional>
#include <utility>
#include <vector>

class QWidget;

namespace vorlan {

class PendingEdits : public QObject {
    Q_OBJECT
public:
    explicit PendingEdits(QObject* parent = nullptr) : QObject(parent) {}

    // A page says whether it has unsaved edits now.
    void setPending(QObject* page, bool pending);
    bool hasPending() const { return !pending_.isEmpty(); }
    // `owner`'s way of resolving its edits, forgotten when `owner` goes (a closed window).
    void addResolver(QObject* owner, std::function<bool(QWidget* parent)> resolve);
    // Asks about every page's unsaved edits; false when the user chose to stay.
    bool resolvePending(QWidget* parent);

signals:
    // Whether any page has unsaved edits now.
    void pendingChanged(bool any);

private:
    QList<QObject*> pending_;
    std::vector<std::pair<QObject*, std::function<bool(QWidget*)>>> resolvers_;
};

}  // namespace vorlan
