#include "session/document_session.h"

#include <QFileInfo>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "bulk/field_text.h"
#include "document/kept_files.h"
#include "image/executable_extract.h"
#include "io/new_file.h"
#include "lists/char_file.h"
#include "schema/value_text.h"
#include "session/entry_names.h"
#include "session/pending_edits.h"
#include "tables/catalog.h"
#include "toolkit/dialogs.h"
#include "toolkit/text.h"

namespace vorlan {

DocumentSession::DocumentSession(Dialogs& dialogs, PendingEdits& pending, QString dataDir,
                                 QObject* parent)
    : QObject(parent), dialogs_(dialogs), pending_(pending), dataDir_(std::move(dataDir)) {}

DocumentSession::~DocumentSession() = default;

const std::vector<std::string>* DocumentSession::names(NameList list) {
    switch (list) {
        case NameList::Units:
            return lists_.units.empty() ? nullptr : &lists_.units;
        case NameList::Pilots:
            return lists_.pilots.empty() ? nullptr : &lists_.pilots;
        case NameList::Skills:
            return lists_.skills.empty() ? nullptr : &lists_.skills;
        case NameList::None:
            break;
    }
    return nullptr;
}

bool DocumentSession::openExecutable(const QString& path, QWidget* parent) {
    std::unique_ptr<Document> document;
    DocumentOptions options;
    bool readOnly = false;
    bool busy = false;
    for (;;) {
        try {
            options.readOnly = readOnly;
            document = Document::open(toPath(path), tableLayout(), options);
            break;
        } catch (const UnusualSizeError& e) {
            if (!dialogs_.question(parent, u(e.what()) + u("\n\n仍然打开它吗？")))
                return false;
            options.allowUnusualSize = true;
        } catch (const BusyError& e) {
            // Another program lets others only read it: it can still be looked at.
            if (readOnly) {
                dialogs_.information(parent, u(e.what()));
                return false;
            }
            readOnly = true;
            busy = true;
        } catch (const DocumentError& e) {
            // A file without write permission can still be looked at.
            const QFileInfo info(path);
            if (!readOnly && info.isFile() && info.isReadable() && !info.isWritable()) {
                readOnly = true;
                continue;
            }
            dialogs_.information(parent, u(e.what()));
            return false;
        }
    }
    NameLists lists;
    try {
        lists = loadNameLists(listFolder(), toPath(charFile_));
    } catch (const DataFileError& e) {
        dialogs_.information(parent, u("无法读取名称列表，没有打开文件。\n") + u(e.what()));
        return false;
    }
    // Opened again after another program replaced it: the unsaved edits were made on the
    // file that stood here, and the player may still write them into the one that stands
    // here now. It takes the old one's place before they are asked about, and each write
    // checks them again against it; "取消" keeps the old one.
    const bool again = reopening_ && document_ != nullptr;
    std::unique_ptr<Document> previous;
    std::unique_ptr<EntryEditor> previousEditor;
    if (again) {
        previousEditor = std::exchange(editor_, std::make_unique<EntryEditor>(*document, this));
        previous = std::exchange(document_, std::move(document));
        replaced_ = false;
        // What was said of the old file is over; a write of the edits says its own.
        emit note(QString());
    }
    // A write now would go into the file that replaced the one edited: Enter does not write.
    if (!pending_.resolvePending(parent,
                                 again ? Dialogs::Unsaved::Cancel : Dialogs::Unsaved::Write)) {
        if (again) {
            editor_ = std::move(previousEditor);
            document_ = std::move(previous);
            replaced_ = true;
        }
        return false;
    }
    // Whatever was said of the previous file is over.
    if (!again)
        emit note(QString());
    replaced_ = false;
    ++openCount_;
    exepath_ = shownPath(QFileInfo(path).absoluteFilePath());
    chars_ = CharTable(lists.chars);
    lists_ = std::move(lists);
    if (!again) {
        editor_.reset();
        document_ = std::move(document);
        editor_ = std::make_unique<EntryEditor>(*document_, this);
    }
    previousEditor.reset();
    previous.reset();
    if (const std::string recovered = document_->takeRecoveryNote(); !recovered.empty())
        dialogs_.information(parent, u(recovered));
    listenForRecovery();
    readOnly_ = readOnly;
    readOnlyWhy_ = !readOnly ? QString()
                   : busy    ? u("另一个程序正打开着游戏主程序，只允许读取它")
                             : u("游戏主程序是只读文件（没有写入权限）");
    holdFile();
    emit executableOpened();
    if (readOnly_) {
        emit note(readOnlyWhy_ + u("，只能查看：") + exepath_);
        dialogs_.information(
            parent, readOnlyWhy_ + u("，以只读方式打开：\n") + exepath_ +
                        (busy ? u("\n可以查看数据，但不能写入。要修改，请关闭那个程序后重新打开。")
                              : u("\n可以查看数据，但不能写入。要修改，请先取消文件的只读属性后"
                                  "重新打开。")));
    }
    return true;
}

void DocumentSession::listenForRecovery() {
    // An interrupted write restored by any later read or write is told once it is done.
    document_->setRecoveryListener([this](const std::string& recovered) {
        const QString text = u(recovered);
        emit note(text);
        // Not in the middle of the read or write that found it.
        QTimer::singleShot(0, this, [this, text] { dialogs_.information(nullptr, text); });
    });
}

void DocumentSession::holdFile() {
    held_.reset();
    try {
        PosixFile file(systemFileOps(), document_->path(), PosixFile::Mode::Read);
        const FileIdentity& opened = document_->identity();
        const FileIdentity here = file.identity();
        // Only the very file that was opened (not one put there since).
        if (here.device == opened.device && here.inode == opened.inode && here.size == opened.size)
            held_.emplace(std::move(file));
    } catch (const IoError&) {
        // A copy then needs the file at its path.
    }
}

bool DocumentSession::saveCopyAs(const QString& path, QWidget* parent) {
    if (editor(parent) == nullptr)
        return false;
    std::vector<std::uint8_t> bytes;
    bool fromHeld = false;
    try {
        bytes = document_->read(0, static_cast<std::size_t>(document_->size()));
    } catch (const ReplacedError&) {
        // Moved away or replaced: the file as it was opened, held since.
        if (!held_) {
            dialogs_.information(parent,
                                 u("没有另存：打开的游戏主程序已不在原处，也无法再读取它。"));
            return false;
        }
        try {
            if (!held_->lock(false, std::chrono::milliseconds(5000)))
                throw IoError("另一个程序一直占用着这个文件", 0);
            bytes = held_->readAt(0, static_cast<std::size_t>(document_->size()));
            fromHeld = true;
        } catch (const IoError& e) {
            dialogs_.information(parent, u("没有另存：无法读取打开的游戏主程序：\n") + u(e.what()));
            return false;
        }
    } catch (const DocumentError& e) {
        dialogs_.information(parent, u("没有另存：无法读取游戏主程序：\n") + u(e.what()));
        return false;
    }
    const QString target = shownPath(QFileInfo(path).absoluteFilePath());
    std::unique_ptr<Document> copy;
    try {
        // Made as every new file is: under a fresh name, flushed, then given its name, which
        // must be free (nothing there is replaced, no link followed).
        createNewFile(systemFileOps(), toPath(target), bytes);
        DocumentOptions options;
        options.allowUnusualSize = true;  // its length was accepted when it was opened
        copy = Document::open(toPath(target), tableLayout(), options);
    } catch (const std::exception& e) {
        dialogs_.information(parent, u("没有另存为 ") + target + u("：\n") + u(e.what()));
        return false;
    }
    const QString before = exepath_;
    editor_ = std::make_unique<EntryEditor>(*copy, this);
    document_ = std::move(copy);
    exepath_ = target;
    readOnly_ = false;
    replaced_ = false;
    holdFile();
    listenForRecovery();
    emit executableMoved();
    emit note(u("已另存为 ") + exepath_ + u("，之后的写入都写进这个文件") +
              (fromHeld ? u("（内容是打开时的 ") + before + u("）") : QString()) +
              (pending_.hasPending() ? u("；尚未写入的修改仍在，可以写入") : QString()) + u("。"));
    return true;
}

void DocumentSession::writeOutput(const QString& path, std::span<const std::uint8_t> bytes,
                                  bool replace, bool folderHeld) const {
    if (folderHeld)
        writeOutputFile(systemFileOps(), toPath(path), bytes, replace, keptFiles());
    else
        writeLoneOutputFile(systemFileOps(), toPath(path), bytes, replace, keptFiles());
}

KeptFiles DocumentSession::keptFiles() const {
    KeptFiles kept = keptFilesOf(document_ ? document_->path() : std::filesystem::path());
    kept.add(keptBesideImages());
    return kept;
}

bool DocumentSession::useCharFile(const QString& path, QWidget* parent) {
    std::vector<std::string> entries;
    try {
        entries = readCharFile(toPath(path));
    } catch (const DataFileError& e) {
        dialogs_.information(parent, u("无法使用这个字码表，仍使用原来的：\n") + u(e.what()));
        return false;
    }
    charFile_ = shownPath(QFileInfo(path).absoluteFilePath());
    chars_ = CharTable(entries);
    lists_.chars = std::move(entries);
    emit note(u("字码表：%1（%2 项）").arg(charFile_).arg(lists_.chars.size()));
    // Decoded names on the pages follow the new table.
    if (document_)
        emit fileChanged(false);
    return true;
}

bool DocumentSession::setDataDir(const QString& folder, QWidget* parent) {
    // A chosen folder holds every list itself.
    const QString previous = std::exchange(dataDir_, folder);
    const QString previousFallback = std::exchange(listsFallback_, QString());
    if (exepath_.isEmpty() || openExecutable(exepath_, parent))
        return true;
    dataDir_ = previous;
    listsFallback_ = previousFallback;
    return false;
}

ListFolder DocumentSession::listFolder() const {
    return listsFallback_.isEmpty() ? ListFolder(toPath(dataDir_))
                                    : ListFolder(toPath(dataDir_), toPath(listsFallback_));
}

void DocumentSession::sayWriteNotes(QWidget* parent, const std::vector<EntryEdit>& edits) {
    if (!editor_)
        return;
    constexpr qsizetype kShown = 20;  // the rest in one line: the message stays on screen
    QStringList notes;
    for (const std::string& note : editor_->nameNotes(edits))
        notes << u("注意：") + u(note);
    // A number stored other than as typed: a signed field's other reading of the same bits,
    // a fraction rounded. Said as the command line says it.
    for (const EntryEdit& e : edits) {
        std::vector<FieldValue> now;
        try {
            now = editor_->show(*e.table, e.index).values;
        } catch (const std::exception&) {
            continue;
        }
        for (std::size_t i = 0; i < e.edited.size() && i < now.size(); ++i) {
            const FieldDef& f = e.table->fields[i];
            if (e.edited[i] == e.shown[i] || !isDecimalNumber(f))
                continue;
            const std::string note =
                storedNumberNote(u(e.edited[i].text).trimmed().toStdString(), now[i].text);
            if (note.empty())
                continue;
            const QString entry =
                edits.size() > 1 ? entryName(*e.table, e.index, this) + ' ' : QString();
            notes << u("注意：") + entry + u("「") + u(f.fullCaption()) + u("」= ") + u(note);
        }
    }
    if (notes.size() > kShown) {
        const qsizetype more = notes.size() - kShown;
        notes.resize(kShown);
        notes << u("……另有 %1 条").arg(more);
    }
    if (!notes.isEmpty())
        dialogs_.information(parent, notes.join('\n'));
}

QString DocumentSession::listsShown() const {
    return QString::fromStdString(listFolder().shown());
}

EntryEditor* DocumentSession::editor(QWidget* parent) {
    if (!editor_) {
        dialogs_.information(parent, u("请先点击“打开”选择游戏主程序 SLKV_618.04。"));
        return nullptr;
    }
    return editor_.get();
}

void DocumentSession::readFailed(QWidget* parent, const std::exception& e) {
    if (dynamic_cast<const ReplacedError*>(&e) != nullptr) {
        // While it is being opened again, reads of the old one (a discarded edit shown
        // again) have nothing to say.
        if (!reopening_)
            fileReplaced(parent);
        return;
    }
    dialogs_.information(parent, u("读取游戏主程序失败：\n") + u(e.what()));
}

void DocumentSession::fileReplaced(QWidget* parent) {
    replaced_ = true;
    const bool gone = !QFileInfo::exists(exepath_);
    const QString text =
        gone ? u("游戏主程序已被删除或移走：\n") + exepath_ +
                   u("\n没有读取也没有写入。把它放回原处后再试，或者点击“打开”选择它。")
             : u("游戏主程序在打开之后被其他程序替换了（或者长度变了）：\n") + exepath_ +
                   u("\n为了不把两个文件混在一起，没有读取也没有写入。");
    if (reopening_) {
        // A write chosen in the reopen's own question about unsaved edits.
        dialogs_.information(parent, text);
        return;
    }
    // One user action may read several times (a form and its slot): it is told once.
    if (toldThisTurn_)
        return;
    toldThisTurn_ = true;
    QTimer::singleShot(0, this, [this] { toldThisTurn_ = false; });
    if (gone) {
        // Nothing to open again until it is back.
        dialogs_.information(parent, text);
        return;
    }
    const QString ask =
        text + u("\n\n要重新打开它吗？") +
        (pending_.hasPending() ? u("\n（尚未写入的修改会先询问：它们是对原来的文件做的，建议放弃）")
                               : QString());
    if (!dialogs_.question(parent, ask)) {
        emit note(u("游戏主程序已被其他程序替换，没有重新打开：点击“打开”可以重新打开它。"));
        return;
    }
    reopening_ = true;
    wroteWhileReopening_ = false;
    const QString path = exepath_;
    const bool opened = openExecutable(path, parent);
    reopening_ = false;
    // A write of the pending edits has said what it did, and where.
    if (opened && !wroteWhileReopening_)
        emit note(u("已重新打开 ") + exepath_);
}

void DocumentSession::announceWrite(const WriteStep& step, const QString& text, QWidget* from) {
    wroteWhileReopening_ = reopening_;
    emit wroteFile();
    say(from, text);
    emit stepWritten(step);
}

void DocumentSession::say(QWidget* from, const QString& text) {
    emit note(text);
    if (from != nullptr)
        emit windowNote(from->window(), text);
}

void DocumentSession::announceChangeElsewhere(const QString& time) {
    if (document_ && document_->replaced()) {
        // Reading it would fail on every page at once: the next read offers to open it again.
        if (!replaced_) {
            emit note(QFileInfo::exists(exepath_)
                          ? u("游戏主程序已被其他程序替换（") + time +
                                u("）。下次读取或写入时会询问是否重新打开它。")
                          : u("游戏主程序已被删除或移走（") + time + u("）。"));
        }
        replaced_ = true;
        return;
    }
    if (replaced_) {
        // The file that was opened stands at its path again (moved back): it is read again,
        // and edits made meanwhile stay.
        replaced_ = false;
        emit note(u("游戏主程序已回到原处（") + time + u("），已重新读取：") + exepath_);
        emit fileChanged(false);
        return;
    }
    emit note(u("游戏主程序已被其他程序改动（") + time + u("）"));
    emit fileChanged(true);
}

}  // namespace vorlan
