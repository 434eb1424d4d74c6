#include "ui/skin.h"

#include <QApplication>
#include <QString>

namespace vorlan {

int SkinH_Attach_Res(const unsigned char* data, int lastIndex, const char*, int, int, int) {
    if (data == nullptr || lastIndex < 0 || qApp == nullptr)
        return 0;
    const auto sheet = QString::fromUtf8(reinterpret_cast<const char*>(data), lastIndex + 1);
    qApp->setStyleSheet(sheet);
    return 1;
}

int SkinH_Aero(int enable) {
    if (qApp == nullptr)
        return 0;
    // The flat skin has no translucency of its own; the flag is kept for the style sheet.
    qApp->setProperty("aero", enable != 0);
    return 1;
}

}  // namespace vorlan
