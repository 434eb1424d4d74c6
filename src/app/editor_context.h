#pragma once
// What every page and window of the editor shares: the opened executable `exepath` as a
// document, the name lists and character table of the data folder, the dialogs, and the
// one way a page writes: through the document, with the backup questions asked here.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "access/name_source.h"
#include "document/document.h"
#include "document/entry_editor.h"
#include "lists/name_lists.h"
#include "text/char_table.h"

namespace vorlan {

class Dialogs;

class EditorContext : public QObject, public NameSource {
    Q_OBJECT
public:
    EditorContext(Dialogs& dialogs, QString dataDir, QObject* parent = nullptr);
    ~EditorContext() override;

    Dialogs& dialogs() { return dialogs_; }
    const QString& dataDir() const { return dataDir_; }

    // The opened executable; empty until one is opened.
    const QString& exepath() const { return exepath_; }
    const NameLists& lists() const { return lists_; }
    const CharTable& charTable() const { return chars_; }

    // NameSource, for labels and decoded names.
    const std::vector<std::string>* names(NameList list) override;
    const CharTable* chars() override { return chars_.empty() ? nullptr : &chars_; }

    // Checks the file and the name lists and adopts both, or shows why not and keeps the
    // previous executable and lists. Returns true when adopted.
    bool openExecutable(const QString& path, QWidget* parent);

    // The entry editor over the open executable. Shows a message and returns null when
    // no executable is open.
    EntryEditor* editor(QWidget* parent);

    // Runs one write through the document. Answers a missing or untrusted backup with a
    // question (a fresh dated backup, or writing without one) and tries again; reports a
    // busy, replaced or failed file in a message. Refusals of the input are left to the
    // caller, which knows the field. Notes go to the status line.
    WriteResult write(QWidget* parent, const std::function<WriteResult(EntryEditor&)>& change);

    // Shows a read failure; returns nothing.
    void readFailed(QWidget* parent, const std::exception& e);

signals:
    // A new executable (and with it fresh lists) has been adopted.
    void executableOpened();
    // A short note for the status line, such as the backup just made.
    void note(const QString& text);

private:
    Dialogs& dialogs_;
    QString dataDir_;
    QString exepath_;
    NameLists lists_;
    CharTable chars_;
    std::unique_ptr<Document> document_;
    std::unique_ptr<EntryEditor> editor_;
};

// The data folder beside the program.
QString programDataDir();

}  // namespace vorlan
