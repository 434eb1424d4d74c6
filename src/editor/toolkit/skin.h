#pragma once
// The window skin: a compact style that follows the system palette (light or dark) for every
// window, and the marks of edited and refused values. The two entry points keep the calling
// convention the start-up sequence uses.

#include <QString>

class QWidget;

namespace vorlan {

// Applies the skin whose marks' style sheet is held in `data` (its highest index is
// `lastIndex`) to the application. The remaining arguments are accepted and ignored.
// Returns 1 when a skin was applied.
int SkinH_Attach_Res(const unsigned char* data, int lastIndex, const char* password, int hue,
                     int saturation, int brightness);
// Turns the translucent "aero" look on (1) or off (0).
int SkinH_Aero(int enable);

// Sets or clears a mark ("edited", "refused") on a control and shows it. A control takes the
// skin's marks' style sheet the first time it is marked: an application-wide style sheet
// would be matched against every widget of every page as it is built.
void setSkinMark(QWidget* control, const char* mark, bool on);

}  // namespace vorlan
