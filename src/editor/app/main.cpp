// The editor's entry point: command line, skin, main window, and the executable named on
// the command line.

#include <QApplication>
#include <QSettings>
#include <cstdio>

#include "app/editor_options.h"
#include "app/main_window.h"
#include "io/path_text.h"
#include "io/program_start.h"
#include "lists/data_folders.h"
#include "session/editor_context.h"
#include "toolkit/console_dialogs.h"
#include "toolkit/console_text.h"
#include "toolkit/dialogs.h"
#include "toolkit/first_paint.h"
#include "toolkit/startup.h"
#include "toolkit/text.h"

namespace {

QString qpath(const std::filesystem::path& path) {
    return QString::fromStdString(vorlan::pathText(path));
}

}  // namespace

int main(int argc, char* argv[]) {
    // Started again as its own helper (reading a disc image's directories on Windows): the
    // answer, and nothing of the editor.
    if (const auto child = vorlan::startProgram())
        return *child;
    using vorlan::EditorOptions;
    const std::filesystem::path programDir = vorlan::runningProgramFolder(argv[0]);
    const std::filesystem::path userFolder = vorlan::userDataFolder();

    // --help and --version answer before the window system starts, so they work without a
    // display.
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    if (const EditorOptions early = vorlan::parseEditorOptions(raw);
        early.action == EditorOptions::Action::Help) {
        vorlan::printEscaped(
            stdout,
            vorlan::editorHelp(vorlan::findDataFolders(programDir, userFolder), userFolder));
        return 0;
    } else if (early.action == EditorOptions::Action::Version) {
        vorlan::printEscaped(stdout, vorlan::editorVersion());
        return 0;
    }

    // The skin lives in the widget library; a static library's resources need an explicit start.
    Q_INIT_RESOURCE(resources);
    QApplication app(argc, argv);
    // Parsed again without the window system's own options (-platform, -style, …).
    const EditorOptions options = vorlan::parseEditorOptions(QApplication::arguments());
    if (options.action != EditorOptions::Action::Run) {
        vorlan::printEscaped(stderr, options.error);
        return 2;
    }
    vorlan::startApplication(app);

    const std::filesystem::path given = vorlan::toPath(options.dataDir);
    vorlan::DataFolders folders{vorlan::ListFolder(given), given};
    if (options.dataDir.isEmpty())
        folders = vorlan::findDataFolders(programDir, userFolder);
    // A timed run must never stop at a message box: its messages go to standard error.
    vorlan::WidgetDialogs widgetDialogs;
    vorlan::ConsoleDialogs consoleDialogs;
    vorlan::Dialogs& dialogs =
        options.quitAfterPaint ? static_cast<vorlan::Dialogs&>(consoleDialogs) : widgetDialogs;
    vorlan::MainWindow window(dialogs, qpath(folders.lists.folder), qpath(folders.help));
    // The player's own folder may hold some lists only: the others come from the program's.
    window.context().session().setListsFallback(qpath(folders.lists.fallback));
    // What the player had last time (not for a timed run, which starts the same every time).
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "vorlan", "vorlan-editor");
    if (!options.quitAfterPaint)
        window.useSettings(&settings, options.dataDir.isEmpty());
    window.show();
    QString executable = options.executable;
    if (executable.isEmpty() && !options.quitAfterPaint)
        executable = window.lastExecutable();
    if (!executable.isEmpty() && !window.openExecutable(executable) && options.quitAfterPaint)
        return 1;
    // --table: the grid over the window; a timed run ends when the grid has been painted.
    QWidget* first = &window;
    if (!options.table.isEmpty()) {
        if (QWidget* grid = window.openGridAtStart(options.table))
            first = grid;
    }
    if (options.quitAfterPaint)
        vorlan::quitAfterFirstPaint(*first);
    return QApplication::exec();
}
