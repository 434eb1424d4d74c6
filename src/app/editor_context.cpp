#include "app/editor_context.h"
#include "ui/text.h"

#include <sys/stat.h>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
#include <QUndoStack>

#include "ui/dialogs.h"

namespace vorlan {

namespace {

std::filesystem::path toPath(const QString& s) {
    return std::filesystem::path(s.toStdU16String());
}

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// One write of the run in the undo history. Its first redo is the write itself, already
// done; later ones write the step again. A step the document refuses to undo or redo puts
// the history back where it was.
class WriteCommand final : public QUndoCommand {
public:
    WriteCommand(EditorContext& context, WriteStep step)
        : context_(context), step_(std::move(step)) {
        setText(QString::fromStdString(step_.label));
    }
    void undo() override { run(false); }
    void redo() override { run(true); }

private:
    void run(bool forward) {
        if (skip_) {
            skip_ = false;
            return;
        }
        if (context_.applyStep(step_, forward))
            return;
        skip_ = true;
        QUndoStack* stack = context_.undoStack();
        QTimer::singleShot(0, stack, [stack, forward] { forward ? stack->undo() : stack->redo(); });
    }
    EditorContext& context_;
    WriteStep step_;
    bool skip_ = true;
};

}  // namespace

QString programDataDir() {
    return QDir(QCoreApplication::applicationDirPath()).filePath("data");
}

EditorContext::EditorContext(Dialogs& dialogs, QString dataDir, QObject* parent)
    : QObject(parent),
      dialogs_(dialogs),
      undo_(new QUndoStack(this)),
      watcher_(new QFileSystemWatcher(this)),
      dataDir_(std::move(dataDir)) {
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &EditorContext::watchedFileChanged);
}

EditorContext::~EditorContext() = default;

const std::vector<std::string>* EditorContext::names(NameList list) {
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

bool EditorContext::openExecutable(const QString& path, QWidget* parent) {
    std::unique_ptr<Document> document;
    DocumentOptions options;
    bool readOnly = false;
    for (;;) {
        try {
            options.readOnly = readOnly;
            document = Document::open(toPath(path), options);
            break;
        } catch (const UnusualSizeError& e) {
            if (!dialogs_.question(parent, q(e.what()) + u("\n\n仍然打开它吗？")))
                return false;
            options.allowUnusualSize = true;
        } catch (const DocumentError& e) {
            // A file without write permission can still be looked at.
            const QFileInfo info(path);
            if (!readOnly && info.isFile() && info.isReadable() && !info.isWritable()) {
                readOnly = true;
                continue;
            }
            dialogs_.information(parent, q(e.what()));
            return false;
        }
    }
    NameLists lists;
    try {
        lists = loadNameLists(toPath(dataDir_));
    } catch (const DataFileError& e) {
        dialogs_.information(parent, u("无法读取名称列表，没有打开文件。\n") + q(e.what()));
        return false;
    }
    if (!resolvePending(parent))
        return false;
    exepath_ = QFileInfo(path).absoluteFilePath();
    undo_->clear();
    chars_ = CharTable(lists.chars);
    lists_ = std::move(lists);
    editor_.reset();
    document_ = std::move(document);
    editor_ = std::make_unique<EntryEditor>(*document_, this);
    if (const std::string recovered = document_->takeRecoveryNote(); !recovered.empty())
        dialogs_.information(parent, q(recovered));
    readOnly_ = readOnly;
    watch();
    emit executableOpened();
    if (readOnly_) {
        emit note(u("游戏主程序是只读文件，只能查看：") + exepath_);
        dialogs_.information(
            parent,
            u("游戏主程序是只读文件（没有写入权限），以只读方式打开：\n") + exepath_ +
                u("\n可以查看数据，但不能写入。要修改，请先取消文件的只读属性后重新打开。"));
    }
    return true;
}

EntryEditor* EditorContext::editor(QWidget* parent) {
    if (!editor_) {
        dialogs_.information(parent, u("请先点击“打开”选择游戏主程序 SLKV_618.04。"));
        return nullptr;
    }
    return editor_.get();
}

void EditorContext::readFailed(QWidget* parent, const std::exception& e) {
    dialogs_.information(parent, u("读取游戏主程序失败：\n") + q(e.what()));
}

WriteResult EditorContext::write(QWidget* parent,
                                 const std::function<WriteResult(EntryEditor&)>& change) {
    using Status = WriteResult::Status;
    EntryEditor* entries = editor(parent);
    if (entries == nullptr) {
        WriteResult none;
        none.status = Status::Refused;
        return none;
    }
    WriteResult result = change(*entries);
    if (result.status == Status::BackupProblem) {
        const bool untrusted = result.backupKind == BackupCheck::Kind::Untrusted;
        const QString ask =
            untrusted ? q(result.message) + u("\n\n要另外建立一个带日期的新备份，然后写入吗？")
                      : u("无法建立备份文件：\n") + q(result.message) +
                            u("\n\n仍然写入吗？（建议先自己备份游戏主程序）");
        if (!dialogs_.question(parent, ask)) {
            dialogs_.information(parent, u("没有写入任何内容。"));
            return result;
        }
        if (untrusted)
            document_->backupToDatedFile();
        else
            document_->writeWithoutBackup();
        result = change(*entries);
    }
    if (!result.recoveryNote.empty())
        dialogs_.information(parent, q(result.recoveryNote));
    switch (result.status) {
        case Status::Written:
            ownStamp_ = stamp();
            undo_->push(new WriteCommand(*this, result.step));
            noteWritten(result);
            emit stepWritten(result.step);
            break;
        case Status::Unchanged:
            emit note(u("没有改动，未写入"));
            break;
        case Status::Refused:
            break;
        case Status::Busy:
        case Status::Replaced:
        case Status::BackupProblem:
        case Status::Failed:
            dialogs_.information(parent, q(result.message));
            break;
    }
    return result;
}

void EditorContext::noteWritten(const WriteResult& result) {
    const WriteStep& step = result.step;
    QString text = u("已写入 ") + q(step.label);
    if (step.fields.empty() || step.entries.size() > 1) {
        text += u("（%1 个条目，%2 字节）")
                    .arg(step.entries.size())
                    .arg(static_cast<qulonglong>(step.bytesChanged()));
    }
    if (!result.backupNote.empty())
        text += u("。") + q(result.backupNote);
    emit note(text);
}

bool EditorContext::applyStep(const WriteStep& step, bool forward) {
    if (!document_)
        return false;
    const WriteResult result = forward ? document_->redo(step) : document_->undo(step);
    if (result.status != WriteResult::Status::Written) {
        dialogs_.information(nullptr, q(result.message));
        return false;
    }
    ownStamp_ = stamp();
    emit note(u(forward ? "已重做 " : "已撤销 ") + q(step.label));
    emit stepWritten(step);
    return true;
}

void EditorContext::setPending(QObject* page, bool pending) {
    const bool before = hasPending();
    pending_.removeAll(page);
    if (pending)
        pending_.append(page);
    if (before != hasPending())
        emit pendingChanged(hasPending());
}

void EditorContext::addResolver(QObject* owner, std::function<bool(QWidget*)> resolve) {
    resolvers_.emplace_back(owner, std::move(resolve));
    connect(owner, &QObject::destroyed, this, [this, owner] {
        std::erase_if(resolvers_, [owner](const auto& r) { return r.first == owner; });
        setPending(owner, false);
    });
}

bool EditorContext::resolvePending(QWidget* parent) {
    // A copy: resolving may close a window, which removes its resolver.
    const auto resolvers = resolvers_;
    for (const auto& [owner, resolve] : resolvers) {
        if (!resolve(parent))
            return false;
    }
    return true;
}

QString EditorContext::stamp() const {
    struct stat st {};
    if (::stat(QFile::encodeName(exepath_).constData(), &st) != 0)
        return {};
    return QString("%1:%2:%3.%4")
        .arg(static_cast<qulonglong>(st.st_ino))
        .arg(static_cast<qlonglong>(st.st_size))
        .arg(static_cast<qlonglong>(st.st_mtim.tv_sec))
        .arg(static_cast<qlonglong>(st.st_mtim.tv_nsec));
}

void EditorContext::watch() {
    if (!watcher_->files().isEmpty())
        watcher_->removePaths(watcher_->files());
    watcher_->addPath(exepath_);
    ownStamp_ = stamp();
}

void EditorContext::watchedFileChanged() {
    // A file replaced by renaming drops out of the watch: follow the path.
    if (!watcher_->files().contains(exepath_) && QFileInfo::exists(exepath_))
        watcher_->addPath(exepath_);
    const QString now = stamp();
    if (now == ownStamp_)
        return;  // this program's own write
    ownStamp_ = now;
    emit note(u("游戏主程序已被其他程序改动（") +
              QDateTime::currentDateTime().toString("HH:mm:ss") + u("）"));
    emit fileChanged(true);
}

}  // namespace vorlan
