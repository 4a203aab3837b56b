// Giving a window of another program the keyboard focus, as a user's click
// would, so that synthetic key events reach it.
#pragma once
#include <windows.h>

// Brings window to the foreground with control holding the focus, then waits
// until the system reports both. False if it never does.
bool GiveFocus(HWND window, HWND control, DWORD milliseconds);
// The control that has the focus in the thread that owns window, or null.
HWND FocusOf(HWND window);
