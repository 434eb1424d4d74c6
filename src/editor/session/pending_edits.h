#pragma once
// Which pages and windows hold edits not yet written, and the one question about them when
// the executable is left (another file, "退出", closing the window) or a window closes: every
// record with its page or window and its changed fields, answered once with "全部写入 /
// 全部放弃 / 取消". Nothing is written or dropped before that answer, and "取消" leaves every
// edit where it was.

#include <QList>
#include <QObject>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

#include "toolkit/dialogs.h"

class QWidget;

namespace vorlan {

// One record with unsaved edits, as the question lists it.
struct PendingRecord {
    QString where;  // the page or window: "机体武器修改", "底力补正", "「机体」表格"
    QString entry;       // "机体005 银翼王"
    QStringList fields;  // captions of the changed fields
};

class PendingEdits : public QObject {
    Q_OBJECT
public:
    // What a page or window with edits offers the question.
    struct Source {
        std::function<std::vector<PendingRecord>()> records;  // empty without edits
        std::function<bool(QWidget* parent)> write;  // every edit of it; false when refused
        std::function<void()> discard;
        QWidget* window = nullptr;  // shown while it alone is asked about
    };

    explicit PendingEdits(Dialogs& dialogs, QObject* parent = nullptr)
        : QObject(parent), dialogs_(dialogs) {}

    // A page says whether it has unsaved edits now.
    void setPending(QObject* page, bool pending);
    bool hasPending() const { return !pending_.isEmpty(); }
    // `owner`'s edits, forgotten when `owner` goes (a closed window).
    void addSource(QObject* owner, Source source);
    // Whether a write may be offered at all (not for a read-only file).
    void setWriteAllowed(std::function<bool()> allowed) { writeAllowed_ = std::move(allowed); }

    // Asks once about every record with unsaved edits; false when the user chose to stay (or
    // a write was refused). `byDefault` is what Enter gives: "取消" when the edits would be
    // written into a file other than the one they were made on.
    bool resolvePending(QWidget* parent, Dialogs::Unsaved byDefault = Dialogs::Unsaved::Write);
    // The same for `owner`'s records alone (its window closes).
    bool resolveOf(QObject* owner, QWidget* parent);

    // The question's text for `records` (also the one a page asks when leaving its entry).
    static QString describe(const std::vector<PendingRecord>& records, bool canWrite);
    // One question about `records`, resolved with `write` / `discard`.
    bool ask(QWidget* parent, const std::vector<PendingRecord>& records,
             const std::function<bool()>& write, const std::function<void()>& discard,
             Dialogs::Unsaved byDefault = Dialogs::Unsaved::Write);

signals:
    // Whether any page has unsaved edits now.
    void pendingChanged(bool any);

private:
    bool resolve(const std::vector<std::pair<QObject*, Source>>& sources, QWidget* parent,
                 Dialogs::Unsaved byDefault);
    bool canWrite() const { return !writeAllowed_ || writeAllowed_(); }

    Dialogs& dialogs_;
    QList<QObject*> pending_;
    std::vector<std::pair<QObject*, Source>> sources_;
    std::function<bool()> writeAllowed_;
};

}  // namespace vorlan
