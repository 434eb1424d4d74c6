// The editor's entry point: skin, main window, and the executable named on the command line.

#include <QApplication>
#include <QFile>

#include "app/editor_context.h"
#include "app/main_window.h"
#include "ui/dialogs.h"
#include "ui/skin.h"

int main(int argc, char* argv[]) {
    // The skin lives in the widget library; a static library's resources need an explicit start.
    Q_INIT_RESOURCE(resources);
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QString::fromUtf8("VORLAN静态修改器"));

    QFile skin(":/SHE/COMPACT");
    if (skin.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = skin.readAll();
        vorlan::SkinH_Attach_Res(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                 static_cast<int>(bytes.size()) - 1, "", 0, 0, 0);
    }
    vorlan::SkinH_Aero(0);

    vorlan::WidgetDialogs dialogs;
    vorlan::MainWindow window(dialogs, vorlan::programDataDir());
    window.show();
    const QStringList args = QApplication::arguments();
    if (args.size() > 1)
        window.openExecutable(args.at(1));
    return QApplication::exec();
}
