#pragma once
// The editor's command line: vorlan-editor [--data DIR] [--table TABLE] [--quit-after-paint]
// [SLKV_618.04], with --help and --version.

#include <QString>
#include <QStringList>
#include <filesystem>

#include "lists/data_folders.h"

namespace vorlan {

struct EditorOptions {
    enum class Action { Run, Help, Version, UsageError };
    Action action = Action::Run;
    QString error;       // UsageError: what is wrong, in Chinese, with the usage line
    QString dataDir;     // --data; empty: search as lists/data_folders.h says
    QString executable;  // the executable to open; empty: none
    QString table;       // --table: the table whose grid opens at the start; empty: none
    bool quitAfterPaint = false;
};

// `arguments` as QCoreApplication::arguments() gives them, the program first. --help and
// --version win over any other problem, so both can be asked before the window system
// has taken its own options out.
EditorOptions parseEditorOptions(const QStringList& arguments);

// The usage in Chinese and English, and the data folders this run would use.
QString editorHelp(const DataFolders& inUse, const std::filesystem::path& userFolder);
// "vorlan-editor 1.20".
QString editorVersion();

}  // namespace vorlan
