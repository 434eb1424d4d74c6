#include "session/change_watcher.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>

#include "io/file_ops.h"
#include "session/document_session.h"
#include "toolkit/text.h"

namespace vorlan {

ChangeWatcher::ChangeWatcher(DocumentSession& session, QObject* parent)
    : QObject(parent), session_(session), watcher_(new QFileSystemWatcher(this)) {
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &ChangeWatcher::changed);
    // The folder too: a file moved away drops out of the watch, and its folder sees it come
    // back (or another file take its name).
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &ChangeWatcher::changed);
    connect(&session_, &DocumentSession::executableOpened, this, &ChangeWatcher::watch);
    connect(&session_, &DocumentSession::executableMoved, this, &ChangeWatcher::watch);
    connect(&session_, &DocumentSession::wroteFile, this, [this] { ownStamp_ = stamp(); });
}

QString ChangeWatcher::stamp() const {
    FileStatus st;
    if (systemFileOps().stat(toPath(session_.exepath()), st) != 0)
        return {};
    return QString("%1:%2:%3")
        .arg(static_cast<qulonglong>(st.inode))
        .arg(static_cast<qulonglong>(st.size))
        .arg(static_cast<qlonglong>(st.modified));
}

void ChangeWatcher::watch() {
    if (!watcher_->files().isEmpty())
        watcher_->removePaths(watcher_->files());
    if (!watcher_->directories().isEmpty())
        watcher_->removePaths(watcher_->directories());
    watcher_->addPath(session_.exepath());
    watcher_->addPath(QFileInfo(session_.exepath()).absolutePath());
    ownStamp_ = stamp();
}

void ChangeWatcher::changed() {
    const QString& path = session_.exepath();
    if (path.isEmpty())
        return;
    // A file replaced by renaming, or moved away and back, drops out of the watch: follow
    // the path.
    if (!watcher_->files().contains(path) && QFileInfo::exists(path))
        watcher_->addPath(path);
    const QString now = stamp();
    if (now == ownStamp_)
        return;  // this program's own write
    ownStamp_ = now;
    session_.announceChangeElsewhere(QDateTime::currentDateTime().toString("HH:mm:ss"));
}

}  // namespace vorlan
