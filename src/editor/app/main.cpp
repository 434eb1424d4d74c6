// The editor's entry point: skin, main window, and the executable named on the command line.

#include <QApplication>

#include "app/main_window.h"
#include "ui/dialogs.h"
#include "ui/editor_context.h"
#include "ui/startup.h"

int main(int argc, char* argv[]) {
    // The skin lives in the widget library; a static library's resources need an explicit start.
    Q_INIT_RESOURCE(resources);
    QApplication app(argc, argv);
    vorlan::startApplication(app);

    vorlan::WidgetDialogs dialogs;
    vorlan::MainWindow window(dialogs, vorlan::programDataDir());
    window.show();
    const QStringList args = QApplication::arguments();
    if (args.size() > 1)
        window.openExecutable(args.at(1));
    return QApplication::exec();
}
