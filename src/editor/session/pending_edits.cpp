#include "session/pending_edits.h"

#include "toolkit/secondary_window.h"
#include "toolkit/text.h"

namespace vorlan {

namespace {

constexpr std::size_t kListed = 12;  // the rest in one line: the question stays on screen

}  // namespace

void PendingEdits::setPending(QObject* page, bool pending) {
    const bool before = hasPending();
    pending_.removeAll(page);
    if (pending)
        pending_.append(page);
    if (before != hasPending())
        emit pendingChanged(hasPending());
}

void PendingEdits::addSource(QObject* owner, Source source) {
    sources_.emplace_back(owner, std::move(source));
    connect(owner, &QObject::destroyed, this, [this, owner] {
        std::erase_if(sources_, [owner](const auto& s) { return s.first == owner; });
        setPending(owner, false);
    });
}

QString PendingEdits::describe(const std::vector<PendingRecord>& records, bool canWrite) {
    QString text = records.size() == 1 ? u("这条记录有尚未写入的修改：")
                                       : u("这 %1 条记录有尚未写入的修改：").arg(records.size());
    for (std::size_t i = 0; i < records.size() && i < kListed; ++i) {
        const PendingRecord& r = records[i];
        text += u("\n· ") + r.where + u(" — ") + r.entry + u("：") + r.fields.join(u("、"));
    }
    if (records.size() > kListed)
        text += u("\n……另有 %1 条").arg(records.size() - kListed);
    // One line per answer: a line wrapped in the box would leave a few characters alone.
    const bool several = records.size() > 1;
    text += u("\n");
    if (canWrite)
        text += several ? u("\n全部写入：写入全部修改") : u("\n写入：先写入这些修改");
    text += several ? u("\n全部放弃：全部不写入，修改丢失") : u("\n放弃：不写入，修改丢失");
    text += u("\n取消：留在这里，什么都不改");
    if (!canWrite)
        text += u("\n（游戏主程序以只读方式打开，不能写入。）");
    return text;
}

bool PendingEdits::ask(QWidget* parent, const std::vector<PendingRecord>& records,
                       const std::function<bool()>& write, const std::function<void()>& discard,
                       Dialogs::Unsaved byDefault) {
    Dialogs::UnsavedAsk question;
    question.canWrite = canWrite();
    question.text = describe(records, question.canWrite);
    question.several = records.size() > 1;
    question.answer = byDefault == Dialogs::Unsaved::Write && !question.canWrite
                          ? Dialogs::Unsaved::Cancel
                          : byDefault;
    switch (dialogs_.askUnsaved(parent, question)) {
        case Dialogs::Unsaved::Write:
            return question.canWrite && write();
        case Dialogs::Unsaved::Discard:
            discard();
            return true;
        case Dialogs::Unsaved::Cancel:
            break;
    }
    return false;
}

bool PendingEdits::resolve(const std::vector<std::pair<QObject*, Source>>& sources, QWidget* parent,
                           Dialogs::Unsaved byDefault) {
    // Only asked: what is listed now is what the answer applies to.
    std::vector<PendingRecord> records;
    std::vector<const Source*> asked;
    for (const auto& [owner, source] : sources) {
        std::vector<PendingRecord> own = source.records();
        if (own.empty())
            continue;
        records.insert(records.end(), own.begin(), own.end());
        asked.push_back(&source);
    }
    if (records.empty())
        return true;
    // Asked about one window's edits from elsewhere: that window is shown while asked.
    if (asked.size() == 1 && asked.front()->window != nullptr) {
        bringForward(asked.front()->window);
        parent = asked.front()->window;
    }
    return ask(
        parent, records,
        [&] {
            for (const Source* s : asked) {
                if (!s->write(parent))
                    return false;
            }
            return true;
        },
        [&] {
            for (const Source* s : asked)
                s->discard();
        },
        byDefault);
}

bool PendingEdits::resolvePending(QWidget* parent, Dialogs::Unsaved byDefault) {
    // A copy: writing or discarding may close a window, which removes its source.
    const auto sources = sources_;
    return resolve(sources, parent, byDefault);
}

bool PendingEdits::resolveOf(QObject* owner, QWidget* parent) {
    std::vector<std::pair<QObject*, Source>> own;
    for (const auto& s : sources_) {
        if (s.first == owner)
            own.push_back(s);
    }
    return resolve(own, parent, Dialogs::Unsaved::Write);
}

}  // namespace vorlan
