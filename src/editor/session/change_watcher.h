#pragma once
// Watches the open executable for changes by other programs; this program's own writes are
// told apart by the file's inode, size and modification time after each of them.

#include <QObject>
#include <QString>

class QFileSystemWatcher;

namespace vorlan {

class DocumentSession;

class ChangeWatcher : public QObject {
    Q_OBJECT
public:
    explicit ChangeWatcher(DocumentSession& session, QObject* parent = nullptr);

private:
    void watch();
    void changed();
    // What the file looks like now.
    QString stamp() const;

    DocumentSession& session_;
    QFileSystemWatcher* watcher_;
    QString ownStamp_;
};

}  // namespace vorlan
