#include "app/editor_context.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "app/dialogs.h"
#include "catalog/backup.h"
#include "catalog/executable_check.h"

namespace vorlan {

namespace {

std::filesystem::path toPath(const QString& s) {
    return std::filesystem::path(s.toStdU16String());
}

}  // namespace

QString programDataDir() {
    return QDir(QCoreApplication::applicationDirPath()).filePath("data");
}

EditorContext::EditorContext(Dialogs& dialogs, QString dataDir, QObject* parent)
    : QObject(parent), dialogs_(dialogs), dataDir_(std::move(dataDir)) {}

bool EditorContext::openExecutable(const QString& path, QWidget* parent) {
    if (const auto refusal = checkExecutable(toPath(path))) {
        dialogs_.information(parent, QString::fromStdString(*refusal));
        return false;
    }
    NameLists lists;
    try {
        lists = loadNameLists(toPath(dataDir_));
    } catch (const DataFileError& e) {
        dialogs_.information(parent, QString::fromUtf8("无法读取名称列表，没有打开文件。\n") +
                                         QString::fromStdString(e.what()));
        return false;
    }
    exepath_ = QFileInfo(path).absoluteFilePath();
    chars_ = CharTable(lists.chars);
    lists_ = std::move(lists);
    emit executableOpened();
    return true;
}

std::unique_ptr<FileStore> EditorContext::open(QWidget* parent, FileStore::Mode mode) {
    if (exepath_.isEmpty()) {
        dialogs_.information(parent,
                             QString::fromUtf8("请先点击“打开”选择游戏主程序 SLKV_618.04。"));
        return nullptr;
    }
    try {
        return std::make_unique<FileStore>(toPath(exepath_), mode);
    } catch (const AccessError& e) {
        dialogs_.information(parent, QString::fromUtf8("无法访问游戏主程序：\n") + exepath_ + "\n" +
                                         QString::fromStdString(e.what()));
        return nullptr;
    }
}

std::unique_ptr<FileStore> EditorContext::openForReading(QWidget* parent) {
    return open(parent, FileStore::Mode::ReadOnly);
}

std::unique_ptr<FileStore> EditorContext::openForWriting(QWidget* parent) {
    return open(parent, FileStore::Mode::ReadWrite);
}

bool EditorContext::prepareWrite(QWidget* parent) {
    if (exepath_.isEmpty() || backedUp_ == exepath_)
        return true;
    const BackupResult backup = backupExecutable(toPath(exepath_));
    const QString backupPath = QString::fromStdU16String(backup.path.u16string());
    if (!backup.ok) {
        const bool go = dialogs_.question(
            parent, QString::fromUtf8("无法建立备份文件：\n") + backupPath + "\n" +
                        QString::fromStdString(backup.error) +
                        QString::fromUtf8("\n\n仍然写入吗？（建议先自己备份游戏主程序）"));
        if (!go)
            return false;
    } else if (backup.created) {
        emit note(QString::fromUtf8("第一次写入前已将原文件备份为 ") +
                  QFileInfo(backupPath).fileName());
    }
    backedUp_ = exepath_;
    return true;
}

}  // namespace vorlan
