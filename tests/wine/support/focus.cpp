#include "focus.h"

#include "winetest.h"

HWND FocusOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

bool GiveFocus(HWND window, HWND control, DWORD milliseconds)
{
    // SetFocus acts only on windows of the caller's own input state, so share
    // the target's for the moment.
    DWORD self = GetCurrentThreadId();
    DWORD target = GetWindowThreadProcessId(window, nullptr);
    AttachThreadInput(self, target, TRUE);
    SetForegroundWindow(window);
    SetFocus(control);
    AttachThreadInput(self, target, FALSE);
    return WaitUntil([&] { return GetForegroundWindow() == window && FocusOf(window) == control; },
                     milliseconds);
}
