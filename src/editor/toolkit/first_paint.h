#pragma once
// Quitting once a window has been painted, to time a program from its start to its first
// frame on screen.

class QWidget;

namespace vorlan {

// Ends the process (status 0) as soon as `window` has been painted after this call (a repaint
// is asked for, so one comes even when nothing else changes). The end comes from the event
// loop, after the whole frame, children included, has been drawn; nothing is torn down.
void quitAfterFirstPaint(QWidget& window);

}  // namespace vorlan
