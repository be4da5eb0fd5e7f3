#pragma once
// Without a window manager no window gets the keyboard by itself: a window
// shown by the program, or one left behind by a closing dialog, has to take
// the focus itself.

class QWidget;

// Makes window the active window now and again whenever another window of
// the program closes and leaves no window active.
void Keep_Window_Active(QWidget* window);

// Waits (a second at most) until the window system has put the shown window
// on the screen, then draws it whole at once: work that follows on the
// user-interface thread leaves a drawn window behind, not an empty one.
void Draw_Window_Now(QWidget* window);
