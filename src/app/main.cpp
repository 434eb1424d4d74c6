// The editor's entry point: skin, main window, and the executable named on the command line.

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/editor_context.h"
#include "app/main_window.h"
#include "ui/dialogs.h"
#include "ui/skin.h"

int main(int argc, char* argv[]) {
    // The skin lives in the widget library; a static library's resources need an explicit start.
    Q_INIT_RESOURCE(resources);
    QApplication app(argc, argv);
    // The name titles the message boxes. It is not set as the display name, which the
    // window system would append to the main window's own caption a second time.
    QApplication::setApplicationName(QString::fromUtf8("VORLAN静态修改器V1.20"));
    // Qt's own buttons and file dialogs in Chinese, like the rest of the program.
    QTranslator qtChinese;
    if (qtChinese.load(QLocale(QLocale::Chinese, QLocale::China), "qtbase", "_",
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtChinese);

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
