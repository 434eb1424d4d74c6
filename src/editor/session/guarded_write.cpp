#include "session/guarded_write.h"

#include "session/document_session.h"
#include "session/entry_names.h"
#include "session/undo_history.h"
#include "toolkit/dialogs.h"
#include "toolkit/text.h"

namespace vorlan {

namespace {

QString writtenNote(const WriteResult& result) {
    const WriteStep& step = result.step;
    // One line for every table and field written, however many (a page's Ctrl+S, a grid).
    QString text = u("已写入 ") + shortLabel(stepLabel(step), 200);
    if (step.fields.empty() || step.entries.size() > 1) {
        text += u("（%1 个条目，%2 字节）")
                    .arg(step.entries.size())
                    .arg(static_cast<qulonglong>(step.bytesChanged()));
    }
    if (!result.backupNote.empty())
        text += u("。") + u(result.backupNote);
    return text;
}

}  // namespace

WriteResult GuardedWrite::write(QWidget* parent,
                                const std::function<WriteResult(EntryEditor&)>& change) {
    using Status = WriteResult::Status;
    EntryEditor* entries = session_.editor(parent);
    if (entries == nullptr) {
        WriteResult none;
        none.status = Status::Refused;
        return none;
    }
    WriteResult result = change(*entries);
    if (result.status == Status::BackupProblem) {
        // An interrupted write played back before the question is still news after it.
        const std::string recovered = result.recoveryNote;
        const bool untrusted = result.backupKind == BackupCheck::Kind::Untrusted;
        QString ask = u(result.message) + u("\n\n要另外建立一个带日期的新备份，然后写入吗？");
        if (result.backupKind == BackupCheck::Kind::DiskFull) {
            // The message says how much room to free: not backing up is the last resort.
            ask = u(result.message) + u("\n\n也可以不备份就写入，但不建议。仍然写入吗？");
        } else if (!untrusted) {
            ask = u("无法建立备份文件：\n") + u(result.message) +
                  u("\n\n仍然写入吗？（建议先自己备份游戏主程序）");
        }
        if (!dialogs_.question(parent, ask)) {
            if (!recovered.empty())
                dialogs_.information(parent, u(recovered));
            dialogs_.information(parent, u("没有写入任何内容。"));
            return result;
        }
        Document* document = session_.document();
        if (untrusted)
            document->backupToDatedFile();
        else
            document->writeWithoutBackup();
        result = change(*entries);
        if (result.recoveryNote.empty())
            result.recoveryNote = recovered;
    }
    if (!result.recoveryNote.empty())
        dialogs_.information(parent, u(result.recoveryNote));
    switch (result.status) {
        case Status::Written:
            history_.push(result.step);
            session_.announceWrite(result.step, writtenNote(result), parent);
            break;
        case Status::Unchanged:
            session_.say(parent, u("没有改动，未写入"));
            break;
        case Status::Refused:
            break;
        case Status::Replaced:
            session_.fileReplaced(parent);
            break;
        case Status::Busy:
        case Status::BackupProblem:
        case Status::Failed:
            dialogs_.information(parent, u(result.message));
            break;
    }
    return result;
}

WriteResult GuardedWrite::writeChange(QWidget* parent, const Change& change) {
    return write(parent, [&](EntryEditor&) { return session_.document()->write(change); });
}

}  // namespace vorlan
