// Development tool: opens the editor on a demo executable, walks through its pages and
// saves a picture of each, to look at the layout as a user would see it.
// Usage: screenshots OUTPUT_DIR  (run under xvfb-run for the real platform)

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPixmap>
#include <QTabWidget>
#include <QTimer>

#include "ui/dialogs.h"
#include "app/main_window.h"
#include "ui/skin.h"
#include "fixtures/fixtures.h"

int main(int argc, char* argv[]) {
    Q_INIT_RESOURCE(resources);
    QApplication app(argc, argv);
    QFile skin(":/SHE/COMPACT");
    skin.open(QIODevice::ReadOnly);
    const QByteArray sheet = skin.readAll();
    vorlan::SkinH_Attach_Res(reinterpret_cast<const unsigned char*>(sheet.constData()),
                             static_cast<int>(sheet.size()) - 1, "", 0, 0, 0);
    vorlan::SkinH_Aero(0);

    const QDir out(argc > 1 ? argv[1] : ".");
    vorlan::test::TempDir dir;
    const auto exe = vorlan::test::writeDemo(dir / "SLKV_618.04");
    vorlan::WidgetDialogs dialogs;
    vorlan::MainWindow w(dialogs, QString::fromStdString(vorlan::test::sourceDataDir().string()));
    w.show();
    w.openExecutable(QString::fromStdString(exe.string()));

    auto* tabs = w.findChild<QTabWidget*>("SSTab1");
    auto* inner = w.findChild<QTabWidget*>("SSTab2");
    w.findChild<QListWidget*>("List1")->setCurrentRow(3);
    w.findChild<QListWidget*>("List2")->setCurrentRow(1);
    const auto shoot = [&](const QString& name) {
        QApplication::processEvents();
        w.grab().save(out.filePath(name + ".png"));
    };
    for (int i = 0; i < inner->count(); ++i) {
        inner->setCurrentIndex(i);
        shoot(QString("unit-%1").arg(i + 1));
    }
    for (int i = 1; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        shoot(QString("tab-%1").arg(i + 1));
    }
    return 0;
}
