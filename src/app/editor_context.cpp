#include "app/editor_context.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/dialogs.h"
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

QString EditorContext::backupBeforeWrite() {
    if (exepath_.isEmpty() || backedUp_ == exepath_)
        return {};
    backedUp_ = exepath_;
    const QString backup = exepath_ + ".bak";
    if (QFileInfo::exists(backup))
        return {};
    if (!QFile::copy(exepath_, backup)) {
        return QString::fromUtf8("注意：无法建立备份文件 ") + backup;
    }
    return QString::fromUtf8("已将原文件备份为 ") + QFileInfo(backup).fileName();
}

}  // namespace vorlan
