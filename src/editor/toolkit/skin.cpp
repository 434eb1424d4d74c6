#include "toolkit/skin.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

namespace vorlan {

namespace {

QString& markSheet() {
    static QString sheet;
    return sheet;
}

}  // namespace

int SkinH_Attach_Res(const unsigned char* data, int lastIndex, const char*, int, int, int) {
    if (data == nullptr || lastIndex < 0 || qApp == nullptr)
        return 0;
    markSheet() = QString::fromUtf8(reinterpret_cast<const char*>(data), lastIndex + 1);
    // Fusion draws with the palette's colours, so a dark system palette stays dark; the
    // smaller type keeps the dense forms compact.
    if (QStyle* style = QStyleFactory::create("Fusion"))
        QApplication::setStyle(style);
    QFont font = QApplication::font();
    font.setPointSizeF(9);
    QApplication::setFont(font);
    return 1;
}

int SkinH_Aero(int enable) {
    if (qApp == nullptr)
        return 0;
    // The flat skin has no translucency of its own; the flag is kept for the style.
    qApp->setProperty("aero", enable != 0);
    return 1;
}

void setSkinMark(QWidget* control, const char* mark, bool on) {
    if (control->property(mark).toBool() == on)
        return;
    control->setProperty(mark, on);
    if (on && control->styleSheet().isEmpty() && !markSheet().isEmpty())
        control->setStyleSheet(markSheet());
    // The rules select on the property: the style reads it again.
    control->style()->unpolish(control);
    control->style()->polish(control);
    control->update();
}

}  // namespace vorlan
