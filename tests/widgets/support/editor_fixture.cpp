#include "widgets/support/editor_fixture.h"

namespace vorlan::test {

EditorFixture::EditorFixture(bool open) {
    std::filesystem::create_directories(dataDir());
    for (const auto& e : std::filesystem::directory_iterator(sourceDataDir())) {
        std::filesystem::copy_file(e.path(), dataDir() / e.path().filename());
    }
    writeDemo(exe());
    window_ = std::make_unique<MainWindow>(dialogs_, QString::fromStdString(dataDir().string()));
    if (open && !window_->openExecutable(QString::fromStdString(exe().string()))) {
        qFatal("the demo executable was refused: %s", qPrintable(dialogs_.lastMessage()));
    }
}

}  // namespace vorlan::test
