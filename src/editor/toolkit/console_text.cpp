#include "toolkit/console_text.h"

#include "text/shown_text.h"

namespace vorlan {

void printEscaped(std::FILE* to, const QString& text) {
    const QString shown = QString::fromStdString(escapeControls(text.toStdString(), true));
    std::fputs(shown.toLocal8Bit().constData(), to);
    std::fputc('\n', to);
}

}  // namespace vorlan
