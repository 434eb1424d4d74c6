#pragma once
// What the editor does before its main window appears, shared with the development tools
// that show the same window: the application's name, Qt's own texts in Chinese, the skin.

class QApplication;

namespace vorlan {

// Call once, right after the QApplication is made.
void startApplication(QApplication& app);

}  // namespace vorlan
