#pragma once
// What every page and window of the editor shares: the opened executable `exepath`, the
// name lists and character table of the data folder, the dialogs, and the backup made
// before the first write of a run.

#include <QObject>
#include <QString>
#include <memory>

#include "access/byte_store.h"
#include "lists/name_lists.h"
#include "text/char_table.h"

namespace vorlan {

class Dialogs;

class EditorContext : public QObject {
    Q_OBJECT
public:
    EditorContext(Dialogs& dialogs, QString dataDir, QObject* parent = nullptr);

    Dialogs& dialogs() { return dialogs_; }
    const QString& dataDir() const { return dataDir_; }

    // The opened executable; empty until one is opened.
    const QString& exepath() const { return exepath_; }
    const NameLists& lists() const { return lists_; }
    const CharTable& chars() const { return chars_; }

    // Checks the file and the name lists and adopts both, or shows why not and keeps the
    // previous executable and lists. Returns true when adopted.
    bool openExecutable(const QString& path, QWidget* parent);

    // Opens `exepath` for one read or write bracket. Shows a message and returns nothing
    // when no executable is open or the file cannot be opened.
    std::unique_ptr<FileStore> openForReading(QWidget* parent);
    std::unique_ptr<FileStore> openForWriting(QWidget* parent);

    // Call before every write. Before the first write of the run into this executable, copies
    // it to "<name>.bak" beside it unless that file exists, and reports the copy once. When the
    // copy cannot be made, asks whether to write anyway; returns false when the user declines.
    bool prepareWrite(QWidget* parent);

signals:
    // A new executable (and with it fresh lists) has been adopted.
    void executableOpened();
    // A short note for the status line, such as the backup just made.
    void note(const QString& text);

private:
    std::unique_ptr<FileStore> open(QWidget* parent, FileStore::Mode mode);

    Dialogs& dialogs_;
    QString dataDir_;
    QString exepath_;
    NameLists lists_;
    CharTable chars_;
    QString backedUp_;  // the executable already backed up (or found backed up) in this run
};

// The data folder beside the program.
QString programDataDir();

}  // namespace vorlan
