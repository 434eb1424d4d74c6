#include "app/editor_context.h"
#include "ui/text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "ui/dialogs.h"

namespace vorlan {

namespace {

std::filesystem::path toPath(const QString& s) {
    return std::filesystem::path(s.toStdU16String());
}

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

QString programDataDir() {
    return QDir(QCoreApplication::applicationDirPath()).filePath("data");
}

EditorContext::EditorContext(Dialogs& dialogs, QString dataDir, QObject* parent)
    : QObject(parent), dialogs_(dialogs), dataDir_(std::move(dataDir)) {}

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
    try {
        document = Document::open(toPath(path));
    } catch (const DocumentError& e) {
        dialogs_.information(parent, q(e.what()));
        return false;
    }
    NameLists lists;
    try {
        lists = loadNameLists(toPath(dataDir_));
    } catch (const DataFileError& e) {
        dialogs_.information(parent, u("无法读取名称列表，没有打开文件。\n") + q(e.what()));
        return false;
    }
    exepath_ = QFileInfo(path).absoluteFilePath();
    chars_ = CharTable(lists.chars);
    lists_ = std::move(lists);
    editor_.reset();
    document_ = std::move(document);
    editor_ = std::make_unique<EntryEditor>(*document_, this);
    if (const std::string recovered = document_->takeRecoveryNote(); !recovered.empty())
        dialogs_.information(parent, q(recovered));
    emit executableOpened();
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
    if (!result.backupNote.empty())
        emit note(q(result.backupNote));
    switch (result.status) {
        case Status::Written:
        case Status::Unchanged:
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

}  // namespace vorlan
