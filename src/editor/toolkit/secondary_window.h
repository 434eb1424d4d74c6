#pragma once
// What every secondary window of the editor shares (the table windows, the grids, the
// comparison): it belongs to the main window (it closes with it) but is an ordinary window,
// which the window manager does not keep above the main one, and not modal; its first showing
// places it inside the available area of the main window's screen; Esc closes it as its
// "返回" does, so its close event asks about unsaved edits.

#include <Qt>

class QWidget;

namespace vorlan {

// The flags a secondary window is made with: an ordinary window with the usual buttons.
Qt::WindowFlags secondaryWindowFlags();
// Makes `window` (made with the main window as parent, not yet shown) behave as above.
void makeSecondary(QWidget* window);
// Places `window` inside the available area of `owner`'s screen: no larger than that area,
// centred on the owner, then moved inside. The owner's frame stands for the window's.
void placeInside(QWidget* window, const QWidget* owner);
// Brings the window holding `w` forward (shown, not minimised, raised, active): what a
// question about `w` needs before it is asked. The main window's tab stays where the user is.
void bringForward(QWidget* w);

}  // namespace vorlan
