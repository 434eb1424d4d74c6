#pragma once
// The window skin: the program's embedded style sheet applied to every window at start-up.
// The two entry points keep the calling convention the start-up sequence uses.

namespace vorlan {

// Applies the skin held in `data` (its highest index is `lastIndex`) to the application.
// The remaining arguments are accepted and ignored. Returns 1 when a skin was applied.
int SkinH_Attach_Res(const unsigned char* data, int lastIndex, const char* password, int hue,
                     int saturation, int brightness);
// Turns the translucent "aero" look on (1) or off (0).
int SkinH_Aero(int enable);

}  // namespace vorlan
