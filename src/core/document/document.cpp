#include "document/document.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>
#include <utility>

#include "document/executable_check.h"
#include "document/journal.h"
#include "document/pending_writes.h"
#include "io/file_names.h"
#include "io/path_text.h"
#include "io/system_facts.h"
#include "io/verified_write.h"

namespace vorlan {

namespace {

using Status = WriteResult::Status;

// Refuses an access before anything is read or written.
struct Refusal {
    Status status;
    std::string message;
};

std::string name(const std::filesystem::path& p) {
    return pathText(p);
}

std::string sizeText(std::uint64_t size) {
    return std::to_string(size);
}

std::string busyMessage(const std::filesystem::path& p) {
    return "另一个程序正在写入游戏主程序，等了几秒仍未结束：\n" + name(p) +
           "\n没有写入任何内容，请稍后再试。";
}

// The old (before) or new (after) bytes of each run, to write.
std::vector<WriteRun> runsOf(const std::vector<ByteRun>& runs, bool after) {
    std::vector<WriteRun> out;
    out.reserve(runs.size());
    for (const ByteRun& r : runs)
        out.push_back({r.offset, after ? r.after : r.before});
    return out;
}

std::string internalFault(const std::string& what) {
    return "内部错误，没有写入任何内容：" + what + "\n请把这条消息报告给本程序的开发者。";
}

// What is wrong with the ranges a change asks for: outside the file, or overlapping.
std::string rangeFault(std::vector<std::pair<std::uint64_t, std::size_t>> ranges,
                       std::uint64_t size) {
    std::sort(ranges.begin(), ranges.end());
    std::uint64_t end = 0;
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        const auto [offset, length] = ranges[i];
        if (offset > size || length > size - offset)
            return "要写入的位置超出文件范围";
        if (i > 0 && offset < end)
            return "要写入的范围互相重叠";
        end = offset + length;
    }
    return {};
}

// A journal is found beside the name it was written through only: a file with several names
// could be read through another one while an interrupted write's journal waits beside the first.
std::string multipleNamesMessage(const std::filesystem::path& p, std::uint64_t names) {
    return "游戏主程序有 " + std::to_string(names) + " 个名字（硬链接）：\n" + name(p) +
           "\n本程序的恢复日志只放在其中一个名字旁边，通过别的名字打开时找不到它，一次被中断的写入"
           "就可能被当作完好的文件使用。为了安全，本程序只查看、不写入有多个名字的文件。\n请把"
           "它复制成一个独立的文件（例如用 cp 而不是 ln），或者删除其他名字后再写入。";
}

// A journal beside another name of the same file (a hard link made after a killed write): the
// file may be half written, and reading it through this name would hide that.
std::string journalBesideAnotherName(FileOps& ops, const std::filesystem::path& p,
                                     const FileIdentity& id) {
    for (const auto& other : otherNamesOf(ops, p, id)) {
        FileStatus js;
        if (ops.lstat(journalPath(other), js) != 0)
            continue;
        return "游戏主程序还有另一个名字（硬链接）：\n" + name(other) +
               "\n那个名字旁边有一个未完成的写入留下的恢复日志：\n" + name(journalPath(other)) +
               "\n这个文件可能只写了一半，为了不把它当作完好的文件使用，没有读取。\n请通过那个名字"
               "打开它（本程序会按日志把它恢复完整），或者先删除多余的名字。";
    }
    return {};
}

std::string goneMessage(const std::filesystem::path& p) {
    return "游戏主程序在打开之后被删除或移走了：\n" + name(p) +
           "\n没有读取也没有写入任何内容。把它放回原处后再试。";
}

// The record of a write is gone with its journal; one left behind names a missing journal and
// goes at the next look, so a failure here is no failure of the write.
void forgetPendingWrite(FileOps& ops, const FileIdentity& id) {
    try {
        endPendingWrite(ops, id);
    } catch (const IoError&) {
    }
}

std::string replacedMessage(const std::filesystem::path& p) {
    return "游戏主程序在打开之后被其他程序替换，或者长度变了：\n" + name(p) +
           "\n为了不写错文件，没有写入任何内容。请重新打开它。";
}

}  // namespace

UnusualSizeError::UnusualSizeError(const std::filesystem::path& path, std::uint64_t size)
    : DocumentError("这个文件长 " + sizeText(size) + " 字节，而游戏主程序正好是 " +
                    sizeText(kExecutableSize) +
                    " 字节：它可能不是 VORLAN 的游戏主程序，或者已被其他工具改过长度。\n" +
                    pathText(path)) {}

Document::Document(std::filesystem::path path, const TableLayout& layout, DocumentOptions options)
    : path_(std::move(path)), layout_(layout), options_(options) {
    if (options_.ops == nullptr)
        options_.ops = &systemFileOps();
}

Document::~Document() = default;

std::unique_ptr<Document> Document::open(const std::filesystem::path& path,
                                         const TableLayout& layout, DocumentOptions options) {
    std::error_code ec;
    // Side files (journal, backup) are named after the file itself, so every path to it,
    // through any link, shares one journal and one backup.
    const auto real = std::filesystem::canonical(path, ec);
    std::unique_ptr<Document> doc(
        new Document(ec ? std::filesystem::absolute(path) : real, layout, options));
    FileOps& ops = doc->ops();
    FileStatus st;
    if (ec || ops.stat(doc->path_, st) != 0 || !st.regular())
        throw DocumentError("找不到文件，或它不是一个普通文件：\n" + name(path));
    // Opening the executable itself: a refusal there means the file cannot be written.
    const auto openExe = [&](bool writable) {
        try {
            return PosixFile(ops, doc->path_,
                             writable ? PosixFile::Mode::ReadWrite : PosixFile::Mode::Read);
        } catch (const IoError& e) {
            if (writable && (e.error() == EBUSY || e.error() == ETXTBSY))
                throw BusyError("另一个程序正打开着这个文件，不允许其他程序写入它：\n" +
                                name(path) + "\n请关闭那个程序后再试。");
            if (writable && (e.error() == EACCES || e.error() == EROFS || e.error() == EPERM))
                throw DocumentError("无法以读写方式打开文件：\n" + name(path) +
                                    "\n请确认文件没有设为只读，也没有被其他程序占用。");
            throw DocumentError(e.what());
        }
    };
    try {
        {
            PosixFile file = openExe(!options.readOnly);
            if (!file.lock(!options.readOnly, options.lockWait))
                throw DocumentError(busyMessage(path));
            doc->identity_ = file.identity();
            // The file must be the game's executable before anything is played into it.
            ElfHeader header{};
            if (doc->identity_.size >= header.size())
                file.readAt(0, header);
            if (const auto problem =
                    contentProblem(path, doc->identity_.size, header, layout.minimumSize))
                throw DocumentError(*problem);
            if (doc->identity_.size != kExecutableSize && !options.allowUnusualSize)
                throw UnusualSizeError(path, doc->identity_.size);
            if (const std::string torn = journalBesideAnotherName(ops, doc->path_, doc->identity_);
                !torn.empty())
                throw DocumentError(torn);
            const auto elsewhere = doc->journalElsewhere();
            if (!options.readOnly) {
                if (const std::uint64_t names = file.status().links; names > 1)
                    doc->restored(multipleNamesMessage(doc->path_, names));
                if (elsewhere)
                    doc->recover(file, *elsewhere);
                doc->recover(file);
                return doc;
            }
            // A reader must not see a file torn by a write whose journal lies elsewhere.
            if (elsewhere) {
                file.close();
                PosixFile writable = openExe(true);
                if (!writable.lock(true, options.lockWait))
                    throw DocumentError(busyMessage(path));
                if (!(writable.identity() == doc->identity_))
                    throw DocumentError(replacedMessage(path));
                doc->recover(writable, *elsewhere);
            }
        }
        FileStatus js;
        if (ops.lstat(journalPath(doc->path_), js) == 0) {
            // Somebody else's file at the journal's name is only noted: there is nothing of
            // ours to play back.
            if (doc->noteIfNotOurs(readJournal(ops, doc->path_, doc->identity_)))
                return doc;
            // A reader too restores an interrupted write before it reads anything; that needs
            // write access and the exclusive lock, taken on the same file.
            std::optional<PosixFile> writable;
            try {
                writable.emplace(openExe(true));
            } catch (const DocumentError& e) {
                throw DocumentError("游戏主程序旁边有一个未完成写入留下的恢复日志：\n" +
                                    name(journalPath(doc->path_)) +
                                    "\n要按它恢复游戏主程序，需要以读写方式打开文件，但是：" +
                                    e.what());
            }
            if (!writable->lock(true, options.lockWait))
                throw DocumentError(busyMessage(path));
            if (!(writable->identity() == doc->identity_))
                throw DocumentError(replacedMessage(path));
            doc->recover(*writable);
        }
    } catch (const IoError& e) {
        throw DocumentError(e.what());
    }
    return doc;
}

void Document::restored(std::string note) {
    if (recoveryListener_)
        recoveryListener_(note);
    else
        recoveryNote_ = recoveryNote_.empty() ? std::move(note) : recoveryNote_ + "\n\n" + note;
}

std::optional<std::filesystem::path> Document::journalElsewhere() {
    auto journal = pendingJournal(ops(), identity_);
    if (journal && *journal == journalPath(path_))
        return std::nullopt;
    return journal;
}

std::string Document::unfinishedWriteProblem() {
    if (const auto elsewhere = journalElsewhere()) {
        return "游戏主程序的一次写入没有完成，它的恢复日志在另一个名字旁边：\n" + name(*elsewhere) +
               "\n游戏主程序可能只写了一半。";
    }
    FileStatus js;
    if (ops().lstat(journalPath(path_), js) == 0) {
        return "游戏主程序旁边有一个没有按它恢复过的恢复日志：\n" + name(journalPath(path_)) +
               "\n游戏主程序可能只写了一半。" +
               (notOursText_.empty() ? std::string() : "\n" + notOursText_);
    }
    return journalBesideAnotherName(ops(), path_, identity_);
}

std::string Document::takeRecoveryNote() {
    return std::exchange(recoveryNote_, {});
}

void Document::writeWithoutBackup() {
    backupDone_ = true;
    backupFile_.clear();
}

std::string Document::notOursText(const FoundJournal& found) const {
    const std::string why =
        found.state == JournalState::Foreign
            ? found.problem
            : "「" + name(journalPath(path_)) +
                  "」不是本程序写的恢复日志（没有本程序的标记，或者内容不完整）";
    return "游戏主程序旁边，恢复日志的位置上有一个不属于本程序的文件：\n" + why +
           "\n本程序没有删除也没有改动它。可以照常查看游戏主程序，但是在把它移走或改名之前，本程序"
           "不会"
           "写入游戏主程序（写入时要在那里建立自己的恢复日志）。";
}

bool Document::noteIfNotOurs(const FoundJournal& found) {
    if (!notOurs(found.state))
        return false;
    const bool first = notOursText_.empty();
    notOursText_ = notOursText(found);
    if (first)
        restored(notOursText_);
    return true;
}

bool Document::recover(PosixFile& exe, std::filesystem::path journal) {
    // The record of pending writes names a journal away from the file's name: the write went
    // through another name, or the file was moved since.
    const bool elsewhere = !journal.empty();
    if (!elsewhere)
        journal = journalPath(path_);
    const FileIdentity id = exe.identity();
    FoundJournal found = readJournalFile(ops(), journal, id);
    const auto refuse = [&](const std::string& why) {
        throw DocumentError(
            std::string(elsewhere
                            ? "游戏主程序的一次写入没有完成（通过另一个名字，或者在它被移走之前），"
                              "它的恢复日志不能使用：\n"
                            : "游戏主程序旁边的恢复日志不能使用：\n") +
            name(journal) + "\n" + why +
            "。\n没有改动任何内容，日志留在原处。如果它不是本程序留下的，请把它移走"
            "后再打开；如果游戏主程序已经损坏，可以用备份文件恢复。");
    };
    switch (found.state) {
        case JournalState::None:
            return true;
        case JournalState::Foreign:
        case JournalState::Damaged:
            // Not the journal the record named: that one is gone, and nothing is pending.
            if (elsewhere) {
                forgetPendingWrite(ops(), id);
                return true;
            }
            noteIfNotOurs(found);
            return false;
        case JournalState::OldFormat:
            refuse("它是旧版本的本程序写的，无法确认它属于这个文件、这个文件在那之后没有被换过");
            return true;
        case JournalState::Malformed:
            refuse("它的内容不合理（" + found.problem + "）");
            return true;
        case JournalState::Valid:
            break;
    }
    const Journal& j = found.journal;
    PlaybackTarget target{id, {}, 0};
    if (j.exeSize == id.size && j.device == id.device && j.inode == id.inode) {
        for (const ByteRun& r : j.runs)
            target.current.push_back(exe.readAt(r.offset, r.before.size()));
        target.outsideCrc = outsideRunsCrc(exe, id.size, j.runs);
    }
    if (const std::string problem = playbackProblem(j, target, layout_.writable);
        !problem.empty()) {
        refuse(problem);
    }
    // The journal must go once played back; a folder that will not let it go is found out
    // before the file is touched.
    const auto folder = journal.parent_path();
    if (ops().mayWriteIn(folder) != 0) {
        throw DocumentError("游戏主程序旁边有一个未完成写入留下的恢复日志：\n" + name(journal) +
                            "\n但是它所在的文件夹不能写入，恢复后无法删除它，所以没有恢复，"
                            "也没有改动任何内容。请让这个文件夹可以写入后再打开。");
    }
    std::size_t bytes = 0;
    for (const ByteRun& r : j.runs)
        bytes += r.before.size();
    try {
        bool touched = false;
        writeVerified(exe, runsOf(j.runs, false), touched);
    } catch (const IoError& e) {
        throw RecoveryError(
            "按恢复日志恢复游戏主程序时出错：文件中上次未完成写入的字节可能只恢复了一部分。\n"
            "恢复日志保留在 " +
            name(journal) +
            "，下次打开这个文件时（编辑器或 vorlan-cli 的任何命令）会再试。\n原因：" + e.what());
    }
    try {
        removeJournalFile(ops(), journal);
    } catch (const IoError& e) {
        // The file holds the journal's old bytes now: playing it again changes nothing, but a
        // journal in the way stops every later write, so this is said.
        throw DocumentError(
            "已按恢复日志把游戏主程序恢复为上次写入之前的内容，但是无法删除日志：\n" +
            std::string(e.what()));
    }
    forgetPendingWrite(ops(), id);
    restored(
        "上次写入没有完成（程序被中断或出错），已按恢复日志把游戏主程序恢复为那次写入之前的内容（" +
        std::to_string(j.runs.size()) + " 处，共 " + std::to_string(bytes) + " 字节）。" +
        (elsewhere ? "\n那次写入是通过另一个名字（或者在文件被移走之前）进行的，日志在：\n" +
                         name(journal)
                   : std::string()));
    return true;
}

PosixFile Document::lockedFile(bool forWriting, WriteResult* result) {
    bool writable = forWriting;
    for (;;) {
        std::optional<PosixFile> opened;
        try {
            opened.emplace(ops(), path_,
                           writable ? PosixFile::Mode::ReadWrite : PosixFile::Mode::Read);
        } catch (const IoError& e) {
            // Deleted or moved away since it was opened: no file of that name to write.
            if (e.error() == ENOENT)
                throw Refusal{Status::Replaced, goneMessage(path_)};
            throw;
        }
        PosixFile& file = *opened;
        if (!file.lock(writable, options_.lockWait))
            throw Refusal{Status::Busy, busyMessage(path_)};
        FileStatus st;
        const FileIdentity now = file.identity();
        if (ops().stat(path_, st) != 0 || !(st.identity() == now) ||
            now.device != identity_.device || now.inode != identity_.inode ||
            now.size != identity_.size) {
            throw Refusal{Status::Replaced, replacedMessage(path_)};
        }
        ElfHeader header{};
        file.readAt(0, header);
        if (const auto problem = contentProblem(path_, now.size, header, layout_.minimumSize))
            throw Refusal{Status::Replaced, *problem + "\n没有写入任何内容。"};
        if (forWriting && file.status().links > 1)
            throw Refusal{Status::Failed, multipleNamesMessage(path_, file.status().links) +
                                              "\n没有写入任何内容。"};
        FileStatus js;
        const bool journal = ops().lstat(journalPath(path_), js) == 0;
        if (!journal)
            return std::move(file);
        if (!writable) {
            // Holding the shared lock, no writer is at work: the journal is left by one that
            // was interrupted. Playing it back needs write access and the exclusive lock,
            // even for a reader, which must never see a half-written file. Somebody else's
            // file there is only noted.
            if (noteIfNotOurs(readJournal(ops(), path_, now)))
                return std::move(file);
            writable = true;
            continue;
        }
        const bool ours = recover(file);
        if (result != nullptr)
            result->recoveryNote = std::exchange(recoveryNote_, {});
        if (!ours && forWriting)
            throw Refusal{Status::Failed, notOursText_ + "\n没有写入任何内容。"};
        return std::move(file);
    }
}

std::vector<std::uint8_t> Document::read(std::uint64_t offset, std::size_t count) {
    try {
        PosixFile file = lockedFile(false, nullptr);
        if (offset > identity_.size || count > identity_.size - offset)
            throw DocumentError("读取位置超出文件范围：" + name(path_));
        return file.readAt(offset, count);
    } catch (const Refusal& r) {
        if (r.status == Status::Replaced)
            throw ReplacedError(r.message);
        throw DocumentError(r.message);
    } catch (const IoError& e) {
        throw DocumentError(e.what());
    }
}

bool Document::replaced() {
    FileStatus st;
    if (ops().stat(path_, st) != 0)
        return true;
    const FileIdentity now = st.identity();
    return now.device != identity_.device || now.inode != identity_.inode ||
           now.size != identity_.size;
}

WriteResult Document::write(const Change& change) {
    WriteResult result;
    if (options_.readOnly) {
        result.status = Status::Failed;
        result.message = "游戏主程序以只读方式打开，不能写入。";
        return result;
    }
    if (const std::string fault = rangeFault(change.ranges, identity_.size); !fault.empty()) {
        result.status = Status::Failed;
        result.message = internalFault(fault);
        return result;
    }
    try {
        PosixFile exe = lockedFile(true, &result);
        std::vector<Block> blocks;
        for (const auto& [offset, length] : change.ranges)
            blocks.push_back({offset, exe.readAt(offset, length)});
        const std::vector<Block> before = blocks;
        EditOutcome edit;
        try {
            edit = change.edit(blocks);
        } catch (const std::exception& e) {
            // A fault of the change, not of the file: nothing has been written.
            result.status = Status::Failed;
            result.message = internalFault(e.what());
            return result;
        }
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            if (blocks[i].bytes.size() != before[i].bytes.size() ||
                blocks[i].offset != before[i].offset) {
                result.status = Status::Failed;
                result.message = internalFault("改动改变了要写入的范围");
                return result;
            }
        }
        if (edit.refused()) {
            result.status = Status::Refused;
            result.message = edit.refusals.front().message;
            result.refusals = std::move(edit.refusals);
            return result;
        }
        WriteStep& step = result.step;
        step.table = change.table;
        if (edit.entries.empty())
            step.entries = change.entries;
        else
            step.entries = std::move(edit.entries);
        step.fields = std::move(edit.fields);
        step.label = std::move(edit.label);
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            auto runs = changedRuns(before[i].offset, before[i].bytes, blocks[i].bytes);
            std::move(runs.begin(), runs.end(), std::back_inserter(step.runs));
        }
        std::sort(step.runs.begin(), step.runs.end(),
                  [](const ByteRun& a, const ByteRun& b) { return a.offset < b.offset; });
        if (step.runs.empty()) {
            result.status = Status::Unchanged;
            return result;
        }
        commit(exe, result);
    } catch (const Refusal& r) {
        result.status = r.status;
        result.message = r.message;
    } catch (const IoError& e) {
        result.status = Status::Failed;
        result.message = std::string("没有写入任何内容：\n") + e.what();
    } catch (const RecoveryError& e) {
        result.status = Status::Failed;
        result.fileChanged = true;
        result.message = e.what();
    } catch (const DocumentError& e) {
        result.status = Status::Failed;
        result.message = e.what();
    }
    return result;
}

void Document::commit(PosixFile& exe, WriteResult& result) {
    // Holding the exclusive lock, no run of this program is making these now.
    removeLeftoverPartials(ops(), backupPath(path_));
    removeLeftoverPartials(ops(), journalPath(path_));
    if (options_.backup && !backupDone_) {
        const auto target = datedBackup_ ? datedBackupPath(path_) : backupPath(path_);
        const BackupCheck check = ensureBackup(ops(), exe, target);
        if (check.kind != BackupCheck::Kind::Made && check.kind != BackupCheck::Kind::Existing) {
            result.status = Status::BackupProblem;
            result.backupKind = check.kind;
            result.message = check.message;
            return;
        }
        backupDone_ = true;
        backupFile_ = target;
        result.backupNote =
            check.kind == BackupCheck::Kind::Made
                ? "写入前已将原文件备份为 " + pathText(target.filename())
                : "备份文件：" + pathText(target.filename()) + "（之前已有，保持不变）";
    }

    const std::vector<ByteRun>& runs = result.step.runs;
    const FileIdentity id = exe.identity();
    try {
        // The record first: whatever name the file has later, its journal is found.
        recordPendingWrite(ops(), id, journalPath(path_));
        writeJournal(ops(), path_, exe, runs);
    } catch (const IoError& e) {
        forgetPendingWrite(ops(), id);
        result.status = Status::Failed;
        result.message = std::string("无法写入恢复日志，没有改动游戏主程序：\n") + e.what();
        return;
    }
    // The backup and the journal took a while: the name must still lead to the file about to
    // be written, or the edit would land in a file moved away while another took its name.
    if (!namesFile(exe)) {
        if (dropJournal(id)) {
            result.status = Status::Replaced;
            result.message = replacedMessage(path_);
        } else {
            result.status = Status::Failed;
            result.message = replacedMessage(path_) + "\n但是无法删除这次写入的恢复日志：" +
                             name(journalPath(path_)) + "\n请把它移走后再打开游戏主程序。";
        }
        return;
    }
    std::string failure;
    try {
        bool touched = false;
        writeVerified(exe, runsOf(runs, true), touched);
    } catch (const IoError& e) {
        failure = e.what();
    }
    // Renamed while it was written: the edit is taken back out of the file wherever it is now,
    // and nothing is written into the one that took its name.
    const bool moved = failure.empty() && !namesFile(exe);
    if (failure.empty() && !moved) {
        // The new bytes are in place, flushed and verified. The write stands unless its
        // journal is still there, since the next open would play it back over them.
        try {
            removeJournal(ops(), path_);
            forgetPendingWrite(ops(), id);
            result.status = Status::Written;
            return;
        } catch (const IoError& e) {
            FileStatus st;
            if (ops().lstat(journalPath(path_), st) != 0) {
                forgetPendingWrite(ops(), id);
                result.status = Status::Written;
                return;
            }
            failure = e.what();
        }
    }
    // Put the old bytes back: the file is then exactly as before the write.
    result.status = moved ? Status::Replaced : Status::Failed;
    const std::string where = moved ? movedMessage(exe) : std::string();
    try {
        bool touched = false;
        writeVerified(exe, runsOf(runs, false), touched);
        // The journal holds the bytes the file has now; playing it back changes nothing.
        dropJournal(id);
        result.fileChanged = false;
        result.message = moved ? where +
                                     "\n已把写入它的改动撤回：它和现在这个名字下的文件都没有"
                                     "改动。请重新打开游戏主程序。"
                               : "写入失败，已把改动的字节恢复为原来的内容，游戏主程序没有变化。"
                                 "\n原因：" +
                                     failure;
    } catch (const IoError& e) {
        result.status = Status::Failed;
        result.fileChanged = true;
        result.message = (moved ? where + "\n撤回写入它的改动没有成功。"
                                : "写入失败，恢复原来的内容也没有成功。") +
                         "恢复日志保存在\n" + name(journalPath(path_)) +
                         "\n下次打开这个文件时（编辑器或 vorlan-cli "
                         "的任何命令，无论通过哪个名字）会自动恢复为写入前的内容。\n原因：" +
                         (moved ? std::string() : failure + "\n") + e.what();
    }
}

bool Document::namesFile(PosixFile& exe) {
    FileStatus st;
    return ops().stat(path_, st) == 0 && st.sameFile(exe.identity());
}

bool Document::dropJournal(const FileIdentity& id) {
    try {
        removeJournal(ops(), path_);
    } catch (const IoError&) {
        return false;
    }
    forgetPendingWrite(ops(), id);
    return true;
}

std::string Document::movedMessage(PosixFile& exe) {
    const std::filesystem::path now = currentNameOfOpenFile(exe.fd());
    FileStatus st;
    const bool gone = ops().stat(path_, st) != 0;
    return "游戏主程序在写入的同时被改名或移走了：\n" + name(path_) +
           (now.empty() ? std::string() : "\n它现在是：\n" + name(now)) +
           (gone ? "\n原来的名字下现在没有文件。" : "\n原来的名字下现在是另一个文件，没有写入它。");
}

WriteResult Document::replaceBytes(const WriteStep& step, bool forward) {
    Change change;
    change.table = step.table;
    change.entries = step.entries;
    for (const ByteRun& r : step.runs)
        change.ranges.emplace_back(r.offset, r.after.size());
    change.edit = [&step, forward](std::vector<Block>& blocks) {
        EditOutcome out;
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            const ByteRun& r = step.runs[i];
            if (blocks[i].bytes != (forward ? r.before : r.after)) {
                return EditOutcome::refusal(
                    std::string(forward ? "重做" : "撤销") + "「" + step.label +
                    "」没有进行：这些字节在那次写入之后又被改动过（可能是其他程序），"
                    "为了不覆盖那些改动，没有写入任何内容。");
            }
            blocks[i].bytes = forward ? r.after : r.before;
        }
        out.fields = step.fields;
        out.label = step.label;
        return out;
    };
    return write(change);
}

WriteResult Document::undo(const WriteStep& step) {
    return replaceBytes(step, false);
}

WriteResult Document::redo(const WriteStep& step) {
    return replaceBytes(step, true);
}

}  // namespace vorlan
