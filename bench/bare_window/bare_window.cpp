// The baseline for the editor's start: a bare Qt window of the main window's size with five
// empty tabs (the editor's captions, so both load the same fonts), which quits after its first
// frame exactly as `vorlan-editor --quit-after-paint` does.

#include <QApplication>
#include <QTabWidget>

#include "toolkit/first_paint.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QTabWidget tabs;
    for (const char* caption : {"机体武器修改", "机师修改", "其他修改", "其他修改2", "使用相关"})
        tabs.addTab(new QWidget, QString::fromUtf8(caption));
    tabs.resize(900, 640);
    tabs.show();
    vorlan::quitAfterFirstPaint(tabs);
    return QApplication::exec();
}
