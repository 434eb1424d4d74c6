#include "toolkit/startup.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "toolkit/skin.h"

namespace vorlan {

void startApplication(QApplication& app) {
    // The name titles the message boxes. It is not set as the display name, which the
    // window system would append to the main window's own caption a second time.
    QApplication::setApplicationName(QString::fromUtf8("VORLAN静态修改器V1.20"));
    // Qt's own buttons and file dialogs in Chinese, like the rest of the program.
    auto* qtChinese = new QTranslator(&app);
    if (qtChinese->load(QLocale(QLocale::Chinese, QLocale::China), "qtbase", "_",
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtChinese);

    QFile skin(":/SHE/COMPACT");
    if (skin.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = skin.readAll();
        SkinH_Attach_Res(reinterpret_cast<const unsigned char*>(bytes.constData()),
                         static_cast<int>(bytes.size()) - 1, "", 0, 0, 0);
    }
    SkinH_Aero(0);
}

}  // namespace vorlan
